#include "varnopts/settings/program_launcher.h"

#include <string>

#include "platform/message.h"
#include "varnopts/settings/settings_texts.h"

namespace varnopts {

bool LaunchProgram(const platform::WinePrefix& prefix, std::string_view file,
                   std::string_view parameters, std::string_view workingFolder,
                   platform::ShowCommand show) {
    if (platform::StartProgram(prefix, file, parameters, workingFolder, show)) {
        return true;
    }
    std::string text(kTextFailedToStart.text);
    text += ' ';
    text += file;
    platform::ShowMessage(text, std::string(kCaptionOptions), platform::MB_ICONHAND);
    return false;
}

}  // namespace varnopts
