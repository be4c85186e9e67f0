#pragma once
// Starting the game's programs from the game's folder.

#include <string_view>

#include "platform/wine_prefix.h"

namespace varnopts {

inline constexpr std::string_view kRainbowSixExe = "RainbowSix.exe";
inline constexpr std::string_view kRainbowSixMpExe = "RainbowSixMP.exe";

// Starts gameFolder + program (gameFolder ends with a backslash) in
// gameFolder, shown normally; a failure shows "Failed to start <file>".
void StartGameProgram(const platform::WinePrefix& prefix, std::string_view gameFolder,
                      std::string_view program);

// Opens the modification's read-me with the desktop's default program.
// Nothing is reported when it is missing or cannot be opened.
inline constexpr std::string_view kReadMeFile = "VARN_v200_README.TXT";
void OpenReadMe(const platform::WinePrefix& prefix, std::string_view modFolder);

}  // namespace varnopts
