#include "varnopts/window/varn_options_app.h"

#include "platform/ui/qt_message_box.h"
#include "platform/wine_prefix.h"
#include "varnopts/res/program_icon.h"

CVarnOptionsApp::CVarnOptionsApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationVersion(QStringLiteral("2.0.0.0"));
    setDesktopFileName(QStringLiteral("io.github.r6tools.varnopts"));
    setWindowIcon(varnopts::res::ProgramIcon());
}

BOOL CVarnOptionsApp::InitInstance() {
    platform::ui::InstallQtMessageBox();
    CVarnOptionsDlg dlg(platform::CurrentPrefix());
    dlg.DoModal();
    return false;
}
