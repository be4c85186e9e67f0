#include "varnopts/window/varn_options_app.h"

#include "platform/registry.h"
#include "platform/ui/qt_message_box.h"
#include "r6tools_version.h"
#include "varnopts/res/program_icon.h"
#include "varnopts/settings/game_paths.h"

const platform::ui::ProgramInfo& CVarnOptionsApp::Info() {
    static const platform::ui::ProgramInfo info{
        QStringLiteral("varnopts"), QString::fromLatin1(r6tools::kVersion),
        QStringLiteral("Installs the VARN modification for Rainbow Six and sets the game's mouse "
                       "sensitivity.")};
    return info;
}

CVarnOptionsApp::CVarnOptionsApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(Info().name);
    setApplicationVersion(Info().version);
    setDesktopFileName(QStringLiteral("io.github.r6tools.varnopts"));
    setWindowIcon(varnopts::res::ProgramIcon());
}

BOOL CVarnOptionsApp::InitInstance() {
    platform::ui::InstallQtMessageBox();
    // The game's keys and the modification's lie under two vendors.
    platform::ReadKeysTogether({std::string(varnopts::kGameKey), std::string(varnopts::kModKey)});
    const auto prefix =
        platform::ui::StartupPrefix(arguments(), Info(), std::string(varnopts::kGameKey));
    if (!prefix) {
        return false;
    }
    CVarnOptionsDlg dlg(*prefix);
    dlg.DoModal();
    return false;
}
