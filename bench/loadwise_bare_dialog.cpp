// The yardstick of the start-up benchmark: a program that shows an empty
// dialog, prints "shown" once it is on screen, and ends.

#include <QApplication>
#include <QDialog>
#include <QWindow>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.show();
    while (!(dialog.windowHandle() && dialog.windowHandle()->isExposed())) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    QApplication::processEvents();
    std::printf("shown\n");
    std::fflush(stdout);
    return 0;
}
