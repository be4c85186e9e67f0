// Loadwise's main, ended by the probe the moment its window is shown.

#include <QApplication>

#include "loadwise/res/program_icon.h"
#include "loadwise/window/loadwise_dlg.h"
#include "platform/ui/qt_message_box.h"
#include "platform/wine_prefix.h"
#include "shown_probe.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Loadwise"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.r6tools.Loadwise"));
    QApplication::setWindowIcon(loadwise::ProgramIcon());
    platform::ui::InstallQtMessageBox();
    bench::ShownProbe probe("CLoadwiseDlg");

    CLoadwiseDlg dialog(platform::CurrentPrefix());
    dialog.DoModal();
    return 0;
}
