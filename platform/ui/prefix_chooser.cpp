#include "platform/ui/prefix_chooser.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <chrono>

#include "platform/ui/read_ahead.h"

namespace platform::ui {
namespace {

QString LastChangeText(std::filesystem::file_time_type time) {
    if (time == std::filesystem::file_time_type::min()) {
        return QString();
    }
    const auto system = std::chrono::file_clock::to_sys(time);
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(system.time_since_epoch()).count();
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds), QLocale::ShortFormat);
}

// The build's name when a launcher gave one, else where the wine is from;
// why a launcher's build was not taken is in the tool tip.
QString WineText(const WineBuild& wine) {
    const std::string shown = wine.description.substr(0, wine.description.find(';'));
    return QString::fromStdString(shown == "from WINE" ? wine.program + " (from WINE)" : shown);
}

// A folder in the home folder as the user writes it, "~/Games/rainbow-six".
QString ShownFolder(const std::filesystem::path& folder) {
    const QString text = QString::fromStdString(folder.string());
    const QString home = QDir::homePath();
    return text.startsWith(home + QLatin1Char('/')) ? QLatin1Char('~') + text.mid(home.size())
                                                    : text;
}

}  // namespace

PrefixChooser::PrefixChooser(const std::vector<PrefixCandidate>& candidates,
                             const std::vector<std::string>& notes, QWidget* parent)
    : QDialog(parent) {
    AwaitFontConfiguration();
    setObjectName(QStringLiteral("PrefixChooser"));
    setWindowTitle(tr("Choose the game's Wine prefix"));
    auto* layout = new QVBoxLayout(this);
    for (const std::string& note : notes) {
        auto* label = new QLabel(QString::fromStdString(note), this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto* intro = new QLabel(
        tr("Rainbow Six is installed in more than one Wine prefix. Choose the one to work on:"),
        this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("prefixList"));
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels(
        {tr("Folder"), tr("Launcher"), tr("Game"), tr("Wine"), tr("Last change")});
    for (const PrefixCandidate& candidate : candidates) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, ShownFolder(candidate.prefix.folder));
        item->setText(1, QString::fromStdString(candidate.launcher));
        item->setText(2, QString::fromStdString(candidate.game));
        item->setText(3, WineText(candidate.prefix.wine));
        item->setToolTip(0, QString::fromStdString(candidate.prefix.folder.string()));
        item->setToolTip(3, QString::fromStdString(candidate.prefix.wine.program + "\n" +
                                                   candidate.prefix.wine.description));
        item->setText(4, LastChangeText(candidate.lastChange));
    }
    for (int column = 0; column < list_->columnCount(); ++column) {
        list_->resizeColumnToContents(column);
    }
    list_->setCurrentItem(list_->topLevelItem(0));
    layout->addWidget(list_);

    remember_ = new QCheckBox(tr("&Remember this choice"), this);
    remember_->setObjectName(QStringLiteral("remember"));
    layout->addWidget(remember_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Use this prefix"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemActivated, this, &QDialog::accept);

    // Wide enough for the folders, within the screen.
    int width = list_->frameWidth() * 2 + 24;
    for (int column = 0; column < list_->columnCount(); ++column) {
        width += list_->columnWidth(column);
    }
    resize(std::min(width, 1000), sizeHint().height());
}

int PrefixChooser::chosen() const {
    return list_->currentItem() != nullptr ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
}

bool PrefixChooser::remember() const {
    return remember_->isChecked();
}

}  // namespace platform::ui
