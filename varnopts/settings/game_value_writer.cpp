#include "varnopts/settings/game_value_writer.h"

#include <string>

#include "platform/codepage.h"
#include "platform/message.h"
#include "platform/registry.h"
#include "varnopts/settings/game_paths.h"
#include "varnopts/settings/settings_texts.h"

namespace varnopts {

namespace {

// The writer takes the text from a 260-byte buffer with its terminating zero.
constexpr std::size_t kLongestText = 259;

}  // namespace

int WriteGameValue(const platform::WinePrefix& prefix, std::string_view name,
                   std::string_view text) {
    const std::string_view data = text.substr(0, text.find('\0')).substr(0, kLongestText);

    platform::RegistryKey key;
    if (platform::RegOpenKey(prefix, kGameKey, platform::KeyAccess::SetValue, key) !=
        platform::RegStatus::Success) {
        ShowOptionsError("Error opening R6 main reg key.");
        return 1;
    }
    const platform::RegResult status = platform::RegSetStringValue(key, name, data);
    platform::RegCloseKey(key);
    if (status != platform::RegStatus::Success) {
        std::string message = "Error opening ";
        message += name;
        message += ' ';
        message += kTextRegistryKey.text;
        // What failed underneath (Wine's reg tool ended with an error or
        // did not finish in time, the file could not be written), so that
        // the user can mend it.
        if (const std::string cause = status.error().Describe(); !cause.empty()) {
            message += "\n\n";
            message += platform::Utf8ToCp1252(cause);
        }
        ShowOptionsError(message);
        return 1;
    }
    return 0;
}

}  // namespace varnopts
