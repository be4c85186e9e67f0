#include "platform/ui/qt_message_box.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include "platform/message.h"
#include "platform/ui/read_ahead.h"
#include "platform/ui/text_codec.h"

namespace platform::ui {
namespace {

constexpr unsigned kButtonMask = 0xF;
constexpr unsigned kIconMask = 0xF0;
constexpr unsigned kOkCancel = 0x1;
constexpr unsigned kYesNoCancel = 0x3;
constexpr unsigned kIconQuestion = 0x20;

QPointer<QWidget>& Owner() {
    static QPointer<QWidget> owner;
    return owner;
}

QMessageBox::Icon IconFor(unsigned style) {
    switch (style & kIconMask) {
        case MB_ICONHAND:
            return QMessageBox::Critical;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case kIconQuestion:
            return QMessageBox::Question;
        case MB_ICONASTERISK:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons ButtonsFor(unsigned style) {
    switch (style & kButtonMask) {
        case kOkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case kYesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MB_YESNO:
            return QMessageBox::Yes | QMessageBox::No;
        default:
            return QMessageBox::Ok;
    }
}

int ResultFor(int button, unsigned style) {
    switch (button) {
        case QMessageBox::Ok:
            return IDOK;
        case QMessageBox::Cancel:
            return IDCANCEL;
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        default:  // closed without a button
            return (style & kButtonMask) == MB_YESNO ? IDNO
                   : (style & kButtonMask) == MB_OK  ? IDOK
                                                     : IDCANCEL;
    }
}

constexpr int kLinesShownBesideText = 8;

int ShowQtMessageBox(const std::string& text, const std::string& caption, unsigned style) {
    AwaitFontConfiguration();
    QWidget* owner = Owner();
    if (owner == nullptr) {
        owner = QApplication::activeWindow();
    }
    const std::size_t mark = text.find(kDetailsMark);
    QMessageBox box(IconFor(style), FromCp1252(caption), FromCp1252(text.substr(0, mark)),
                    ButtonsFor(style), owner);
    box.setTextFormat(Qt::PlainText);
    const bool chooseFolder = (style & kChooseFolderButton) != 0;
    if (mark != std::string::npos) {
        // A few lines (where we looked, what to do) belong beside the text;
        // a long tail of a program's output would bury it.
        const QString details = QString::fromStdString(text.substr(mark + 1));
        if (chooseFolder || details.count(QLatin1Char('\n')) < kLinesShownBesideText) {
            box.setInformativeText(details);
            // Wide enough for a folder on one line and a sentence without
            // a cramped column.
            if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
                const int width = box.fontMetrics().averageCharWidth() * 72;
                grid->addItem(
                    new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                    grid->rowCount(), 0, 1, grid->columnCount());
            }
        } else {
            box.setDetailedText(details);
        }
    }
    QPushButton* folderButton = nullptr;
    if (chooseFolder) {
        folderButton = box.addButton(QMessageBox::tr("&Choose the prefix folder\u2026"),
                                     QMessageBox::ActionRole);
        folderButton->setObjectName(QStringLiteral("chooseFolder"));
        // Closing the box is its plain answer, as with one button.
        if (QAbstractButton* plain = box.button(QMessageBox::Ok)) {
            box.setEscapeButton(plain);
        }
    }
    // The box is answered with the normal pointer, also while the window
    // behind it shows the wait cursor.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int button = box.exec();
    QApplication::restoreOverrideCursor();
    if (folderButton != nullptr && box.clickedButton() == folderButton) {
        return kIdChooseFolder;
    }
    return ResultFor(button, style);
}

std::string AskForFolderWithQt(const std::string& title) {
    QWidget* owner = Owner();
    if (owner == nullptr) {
        owner = QApplication::activeWindow();
    }
    QFileDialog dialog(owner, QString::fromStdString(title), QDir::homePath());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    // Prefixes are often hidden folders: ~/.wine, ~/.local/share/...
    dialog.setFilter(QDir::AllDirs | QDir::Hidden | QDir::NoDotAndDotDot);
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    QApplication::restoreOverrideCursor();
    return chosen ? dialog.selectedFiles().front().toStdString() : std::string();
}

}  // namespace

void InstallQtMessageBox(QWidget* owner) {
    Owner() = owner;
    SetMessageOperation(ShowQtMessageBox);
    SetFolderOperation(AskForFolderWithQt);
}

void SetMessageOwner(QWidget* owner) {
    Owner() = owner;
}

}  // namespace platform::ui
