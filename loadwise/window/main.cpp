#include <QApplication>

#include "loadwise/res/program_icon.h"
#include "loadwise/window/loadwise_dlg.h"
#include "platform/ui/qt_message_box.h"
#include "platform/wine_prefix.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Loadwise"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.r6tools.Loadwise"));
    QApplication::setWindowIcon(loadwise::ProgramIcon());
    platform::ui::InstallQtMessageBox();

    CLoadwiseDlg dialog(platform::CurrentPrefix());
    dialog.DoModal();
    // Whether the user saved or left, the work is done.
    return 0;
}
