#include <QApplication>

#include "loadwise/kitdata/game_paths.h"
#include "loadwise/res/program_icon.h"
#include "loadwise/window/loadwise_dlg.h"
#include "platform/prefix_discovery.h"
#include "platform/ui/qt_message_box.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Loadwise"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.r6tools.Loadwise"));
    QApplication::setWindowIcon(loadwise::ProgramIcon());
    platform::ui::InstallQtMessageBox();

    CLoadwiseDlg dialog(platform::ChoosePrefix(kitdata::kGameKey));
    dialog.DoModal();
    // Whether the user saved or left, the work is done.
    return 0;
}
