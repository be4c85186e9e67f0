#include "varnopts/settings/program_launcher.h"

#include <string>

#include "platform/message.h"
#include "varnopts/settings/settings_texts.h"
#include "varnopts/settings/windows_environment.h"

namespace varnopts {
void ShowFailedToStart(std::string_view file, const std::string& details) {
    std::string text(kTextFailedToStart.text);
    text += ' ';
    text += file;
    ShowOptionsError(platform::WithDetails(text, details));
}

// The shell expands environment strings in the file and the folder (an
// installer may store "%ProgramFiles%\VARN"), never in the parameters.

bool LaunchProgram(const platform::WinePrefix& prefix, std::string_view file,
                   std::string_view parameters, std::string_view workingFolder,
                   platform::ShowCommand show) {
    if (platform::StartProgram(prefix, ExpandWindowsEnvironment(prefix, file), parameters,
                               ExpandWindowsEnvironment(prefix, workingFolder), show)) {
        return true;
    }
    ShowFailedToStart(file);
    return false;
}

platform::Result<platform::ChildExit> LaunchProgramToEnd(const platform::WinePrefix& prefix,
                                                         std::string_view file,
                                                         std::string_view parameters,
                                                         std::string_view workingFolder,
                                                         platform::ShowCommand show,
                                                         std::chrono::milliseconds timeLimit) {
    platform::Result<platform::ChildExit> ran =
        platform::RunProgram(prefix, ExpandWindowsEnvironment(prefix, file), parameters,
                             ExpandWindowsEnvironment(prefix, workingFolder), show, timeLimit);
    if (!ran) {
        ShowFailedToStart(file);
    }
    return ran;
}

}  // namespace varnopts
