#include "varnopts/settings/program_launcher.h"

#include <string>

#include "platform/message.h"
#include "varnopts/settings/settings_texts.h"
#include "varnopts/settings/windows_environment.h"

namespace varnopts {

bool LaunchProgram(const platform::WinePrefix& prefix, std::string_view file,
                   std::string_view parameters, std::string_view workingFolder,
                   platform::ShowCommand show) {
    // The shell expands environment strings in the file and the folder (an
    // installer may store "%ProgramFiles%\VARN"), never in the parameters.
    if (platform::StartProgram(prefix, ExpandWindowsEnvironment(prefix, file), parameters,
                               ExpandWindowsEnvironment(prefix, workingFolder), show)) {
        return true;
    }
    std::string text(kTextFailedToStart.text);
    text += ' ';
    text += file;
    platform::ShowMessage(text, std::string(kCaptionOptions), platform::MB_ICONHAND);
    return false;
}

}  // namespace varnopts
