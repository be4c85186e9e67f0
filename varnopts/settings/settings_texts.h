#pragma once
// The texts that the settings code shows. The string-table entries are the
// ones the options window loads from its string table at start; the window's
// string table takes its text from here, so each text is written once.

#include <string>
#include <string_view>

#include "platform/message.h"

namespace varnopts {

struct StringTableEntry {
    unsigned id;
    std::string_view text;
};

inline constexpr StringTableEntry kTextMainKeyError{112, "Error opening R6 main registry key."};
inline constexpr StringTableEntry kTextErrorOpening{113, "Error opening"};
inline constexpr StringTableEntry kTextFailedToStart{114, "Failed to start"};
inline constexpr StringTableEntry kTextRegistryKey{115, "Registry key"};

// Captions.
inline constexpr std::string_view kCaptionOptions = "VARN MOD Options";
inline constexpr std::string_view kCaptionInstallAborted = "VARN Install Aborted";
inline constexpr std::string_view kCaptionUnknownVersion = "Unknown Rainbow Six version";
inline constexpr std::string_view kCaptionUninstall = "Uninstall VARN";

// Tells of a failure in the options program's message box (stop icon).
inline void ShowOptionsError(const std::string& text) {
    platform::ShowMessage(text, std::string(kCaptionOptions), platform::MB_ICONHAND);
}

}  // namespace varnopts
