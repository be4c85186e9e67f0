#include "varnopts/window/varn_options_app.h"

#include "platform/prefix_discovery.h"
#include "platform/ui/qt_message_box.h"
#include "varnopts/res/program_icon.h"
#include "varnopts/settings/game_paths.h"

CVarnOptionsApp::CVarnOptionsApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationVersion(QStringLiteral("2.0.0.0"));
    setDesktopFileName(QStringLiteral("io.github.r6tools.varnopts"));
    setWindowIcon(varnopts::res::ProgramIcon());
}

BOOL CVarnOptionsApp::InitInstance() {
    platform::ui::InstallQtMessageBox();
    CVarnOptionsDlg dlg(platform::ChoosePrefix(varnopts::kGameKey));
    dlg.DoModal();
    return false;
}
