// demo_screenshot: draws the main window of Loadwise or varnopts on the game
// installation of $WINEPREFIX and saves it as a PNG file. Messages the window
// shows on the way go to standard error and are answered with OK (No to a
// question, so nothing is installed). In Loadwise the first row of the tab
// shown is clicked, so that its description shows too.
//
//   demo_screenshot [--dark] loadwise|varnopts OUTPUT.png [TAB]
//
// TAB (Loadwise only) is the tab to show: 0 Primary, 1 Secondary, 2 Special.
// "demo_screenshot chooser OUTPUT.png" draws the window that asks which
// prefix to use, for the prefixes holding the game in $HOME.
// --dark draws with a dark palette, as a desktop with a dark colour scheme
// hands it to the program. Without a display it draws offscreen;
// QT_SCALE_FACTOR=2 draws at twice the size.

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>
#include <cstdio>
#include <iostream>
#include <optional>

#include "loadwise/kitdata/game_paths.h"
#include "loadwise/window/loadwise_dlg.h"
#include "platform/codepage.h"
#include "platform/message.h"
#include "platform/prefix_selection.h"
#include "platform/ui/prefix_chooser.h"
#include "platform/wine_prefix.h"
#include "varnopts/window/varn_options_dlg.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void PrintUsage() {
    std::cerr << "Usage: demo_screenshot [--dark] loadwise|varnopts|chooser OUTPUT.png [TAB]\n"
                 "Draws the program's window on the Wine prefix in WINEPREFIX (or ~/.wine)\n"
                 "and saves it as OUTPUT.png. TAB (Loadwise only): 0 Primary, 1 Secondary,\n"
                 "2 Special. --dark: with a dark palette.\n";
}

// A dark palette of the kind dark desktop themes give Qt programs.
QPalette DarkPalette() {
    QPalette palette;
    const QColor window(53, 53, 53);
    const QColor base(35, 35, 35);
    const QColor text(230, 230, 230);
    const QColor disabled(127, 127, 127);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, Qt::red);
    palette.setColor(QPalette::Link, QColor(42, 130, 218));
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    palette.setColor(QPalette::Light, QColor(80, 80, 80));
    palette.setColor(QPalette::Midlight, QColor(66, 66, 66));
    palette.setColor(QPalette::Mid, QColor(40, 40, 40));
    palette.setColor(QPalette::Dark, QColor(25, 25, 25));
    palette.setColor(QPalette::Shadow, Qt::black);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, disabled);
    }
    return palette;
}

int AnswerOnStandardError(const std::string& text, const std::string& caption, unsigned style) {
    std::cerr << platform::Cp1252ToUtf8(caption) << ": " << platform::Cp1252ToUtf8(text) << '\n';
    return (style & 0xF) == platform::MB_YESNO ? platform::IDNO : platform::IDOK;
}

// Lets the window lay itself out and paint, without waiting for anything the
// window might never do.
void LetItPaint(QWidget& window) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 2000 &&
           !(window.windowHandle() && window.windowHandle()->isExposed())) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    for (int round = 0; round < 5; ++round) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

// Shows the tab as a click on it would: the window's own tab handler runs.
bool SelectTab(QWidget& window, int tab) {
    QWidget* control = window.findChild<QWidget*>(QStringLiteral("IDC_KIT_TAB"));
    if (auto* tabWidget = qobject_cast<QTabWidget*>(control)) {
        tabWidget->setCurrentIndex(tab);
        return tabWidget->currentIndex() == tab;
    }
    if (auto* tabBar = qobject_cast<QTabBar*>(control)) {
        tabBar->setCurrentIndex(tab);
        return tabBar->currentIndex() == tab;
    }
    return false;
}

// Clicks the first row's name in the tab's list, as a user would to read its
// description; the press lands right of the check box, so no tick changes.
void ClickFirstRow(QWidget& window, int tab) {
    static const char* const kLists[] = {"IDC_LIST_PRIMARY", "IDC_LIST_SECONDARY",
                                         "IDC_LIST_SPECIAL"};
    auto* list = window.findChild<QAbstractItemView*>(QString::fromLatin1(kLists[tab]));
    if (list == nullptr || list->model() == nullptr || list->model()->rowCount() == 0) {
        return;
    }
    const QRect name = list->visualRect(list->model()->index(0, 0));
    const QPoint point(name.right() - name.height(), name.center().y());
    const QPointF local(point);
    const QPointF global(list->viewport()->mapToGlobal(point));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &release);
}

int SaveWindow(QWidget& window, const QString& output) {
    window.show();
    LetItPaint(window);
    const QPixmap picture = window.grab();
    QImageWriter writer(output, "png");
    if (!writer.write(picture.toImage())) {
        std::cerr << "demo_screenshot: cannot write " << output.toStdString() << ": "
                  << writer.errorString().toStdString() << '\n';
        return kExitFailure;
    }
    std::cout << output.toStdString() << '\n';
    return 0;
}

int CaptureLoadwise(const platform::WinePrefix& prefix, const QString& output,
                    std::optional<int> tab) {
    CLoadwiseDlg dialog(prefix);
    dialog.OnInitDialog();
    if (tab && !SelectTab(dialog, *tab)) {
        std::cerr << "demo_screenshot: Loadwise has no tab " << *tab << '\n';
        return kExitFailure;
    }
    dialog.show();
    LetItPaint(dialog);
    ClickFirstRow(dialog, tab.value_or(0));
    return SaveWindow(dialog, output);
}

int CaptureVarnOptions(const platform::WinePrefix& prefix, const QString& output) {
    CVarnOptionsDlg dialog(prefix);
    if (!dialog.OnInitDialog()) {
        std::cerr << "demo_screenshot: varnopts ended at start-up (see the messages above); "
                     "is WINEPREFIX a prefix with the game installed?\n";
        return kExitFailure;
    }
    return SaveWindow(dialog, output);
}

int CaptureChooser(const QString& output) {
    platform::SelectionInput input = platform::CurrentSelectionInput(kitdata::kGameKey, "");
    input.environmentPrefix.clear();
    input.configHome = "/nonexistent";  // no remembered choice
    const platform::PrefixSelection selection = platform::SelectPrefix(input);
    if (selection.candidates.size() < 2) {
        std::cerr << "demo_screenshot: fewer than two prefixes in $HOME hold the game\n";
        return kExitFailure;
    }
    platform::ui::PrefixChooser chooser(selection.candidates, selection.notes);
    return SaveWindow(chooser, output);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        PrintUsage();
        return kExitUsage;
    }
    // A picture needs no screen: without a display, draw offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QStringList arguments = QApplication::arguments();
    if (arguments.removeAll(QStringLiteral("--dark")) > 0) {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(DarkPalette());
    }
    if (arguments.size() < 3 || arguments.size() > 4) {
        PrintUsage();
        return kExitUsage;
    }
    const QString program = arguments[1].toLower();
    const QString output = arguments[2];
    std::optional<int> tab;
    if (arguments.size() == 4) {
        bool isNumber = false;
        const int number = arguments[3].toInt(&isNumber);
        if (program != QStringLiteral("loadwise") || !isNumber || number < 0 || number > 2) {
            PrintUsage();
            return kExitUsage;
        }
        tab = number;
    }

    platform::SetMessageOperation(AnswerOnStandardError);
    if (program == QStringLiteral("chooser")) {
        return CaptureChooser(output);
    }
    const platform::WinePrefix prefix = platform::CurrentPrefix();
    if (program == QStringLiteral("loadwise")) {
        return CaptureLoadwise(prefix, output, tab);
    }
    if (program == QStringLiteral("varnopts")) {
        return CaptureVarnOptions(prefix, output);
    }
    PrintUsage();
    return kExitUsage;
}
