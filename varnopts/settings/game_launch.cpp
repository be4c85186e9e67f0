#include "varnopts/settings/game_launch.h"

#include <string>

#include "platform/program_start.h"
#include "varnopts/settings/program_launcher.h"
#include "varnopts/settings/windows_environment.h"

namespace varnopts {

void StartGameProgram(const platform::WinePrefix& prefix, std::string_view gameFolder,
                      std::string_view program) {
    std::string file(gameFolder);
    file += program;
    LaunchProgram(prefix, file, "", gameFolder, platform::ShowCommand::ShowNormal);
}

void OpenReadMe(const platform::WinePrefix& prefix, std::string_view modFolder) {
    // The read-me is looked for in the modification's folder; with no folder
    // known, in the current one.
    const std::string folder = ExpandWindowsEnvironment(prefix, modFolder);
    std::string file;
    if (!folder.empty()) {
        file = folder;
        file += '\\';
    }
    file += kReadMeFile;
    (void)platform::StartProgram(prefix, file, "", folder, platform::ShowCommand::ShowNormal);
}

}  // namespace varnopts
