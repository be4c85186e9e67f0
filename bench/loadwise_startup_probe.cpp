// Starts Loadwise's window on $WINEPREFIX (or, with --bare, an empty dialog),
// prints "shown" once the window is on screen, and ends. The benchmark times
// it from outside, process start included.

#include <QApplication>
#include <QDialog>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "loadwise/window/loadwise_dlg.h"
#include "platform/message.h"

namespace {

void WaitUntilShown(QWidget& window) {
    window.show();
    while (!(window.windowHandle() && window.windowHandle()->isExposed())) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    QApplication::processEvents();
    std::printf("shown\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    platform::SetMessageOperation([](const std::string& text, const std::string&, unsigned) {
        std::cerr << text << '\n';
        return platform::IDOK;
    });
    if (argc > 1 && std::strcmp(argv[1], "--bare") == 0) {
        QDialog dialog;
        WaitUntilShown(dialog);
        return 0;
    }
    CLoadwiseDlg dialog(platform::CurrentPrefix());
    dialog.OnInitDialog();
    WaitUntilShown(dialog);
    return 0;
}
