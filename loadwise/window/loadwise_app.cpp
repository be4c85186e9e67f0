#include "loadwise/window/loadwise_app.h"

#include "loadwise/kitdata/game_paths.h"
#include "loadwise/res/program_icon.h"
#include "loadwise/window/loadwise_dlg.h"
#include "platform/ui/qt_message_box.h"
#include "r6tools_version.h"

const platform::ui::ProgramInfo& CLoadwiseApp::Info() {
    static const platform::ui::ProgramInfo info{
        QStringLiteral("loadwise"), QString::fromLatin1(r6tools::kVersion),
        QStringLiteral("Chooses which weapons and equipment Rainbow Six offers in multiplayer "
                       "games.")};
    return info;
}

CLoadwiseApp::CLoadwiseApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(Info().name);
    setApplicationVersion(Info().version);
    setDesktopFileName(QStringLiteral("io.github.r6tools.Loadwise"));
    setWindowIcon(loadwise::ProgramIcon());
}

bool CLoadwiseApp::InitInstance() {
    platform::ui::InstallQtMessageBox();
    const auto prefix = platform::ui::StartupPrefix(arguments(), Info(), kitdata::kGameKey);
    if (!prefix) {
        return false;
    }
    CLoadwiseDlg dialog(*prefix);
    dialog.DoModal();
    return false;
}
