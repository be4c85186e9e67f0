#include "varnopts/settings/game_launch.h"

#include <iostream>
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
    // Help shows no message when the read-me is missing or nothing opens it:
    // the read-me is optional reading. A player who started us from a
    // terminal still learns why nothing opened.
    const platform::Status opened =
        platform::StartProgram(prefix, file, "", folder, platform::ShowCommand::ShowNormal);
    if (!opened) {
        std::cerr << "varnopts: cannot open the read-me: " << opened.error().Describe() << '\n';
    }
}

}  // namespace varnopts
