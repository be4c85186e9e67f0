#pragma once
// Starting a program the way the options window starts the packages and the
// game.

#include <string_view>

#include "platform/program_start.h"
#include "platform/wine_prefix.h"

namespace varnopts {

// Starts file (a full Windows path) with parameters in workingFolder; environment
// strings in file and folder are expanded as the shell does. Returns true when
// it started; false after showing "Failed to start <file>" (file as given).
bool LaunchProgram(const platform::WinePrefix& prefix, std::string_view file,
                   std::string_view parameters, std::string_view workingFolder,
                   platform::ShowCommand show);

}  // namespace varnopts
