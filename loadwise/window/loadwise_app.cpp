#include "loadwise/window/loadwise_app.h"

#include "loadwise/kitdata/game_paths.h"
#include "loadwise/res/program_icon.h"
#include "loadwise/window/loadwise_dlg.h"
#include "platform/prefix_discovery.h"
#include "platform/ui/qt_message_box.h"

CLoadwiseApp::CLoadwiseApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Loadwise"));
    setDesktopFileName(QStringLiteral("io.github.r6tools.Loadwise"));
    setWindowIcon(loadwise::ProgramIcon());
}

bool CLoadwiseApp::InitInstance() {
    platform::ui::InstallQtMessageBox();
    CLoadwiseDlg dialog(platform::ChoosePrefix(kitdata::kGameKey));
    dialog.DoModal();
    return false;
}
