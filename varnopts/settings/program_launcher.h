#pragma once
// Starting a program the way the options window starts the packages and the
// game.

#include <chrono>
#include <string>
#include <string_view>

#include "platform/program_start.h"
#include "platform/wine_prefix.h"

namespace varnopts {

// "Failed to start <file>" (stop icon), with details when given.
void ShowFailedToStart(std::string_view file, const std::string& details = {});

// Starts file (a full Windows path) with parameters in workingFolder; environment
// strings in file and folder are expanded as the shell does. Returns true when
// it started; false after showing "Failed to start <file>" (file as given).
bool LaunchProgram(const platform::WinePrefix& prefix, std::string_view file,
                   std::string_view parameters, std::string_view workingFolder,
                   platform::ShowCommand show);

// Starts file as LaunchProgram does and waits for it to end (at most
// timeLimit). When it cannot be started: "Failed to start <file>" has been
// shown, and the error says why.
platform::Result<platform::ChildExit> LaunchProgramToEnd(const platform::WinePrefix& prefix,
                                                         std::string_view file,
                                                         std::string_view parameters,
                                                         std::string_view workingFolder,
                                                         platform::ShowCommand show,
                                                         std::chrono::milliseconds timeLimit);

}  // namespace varnopts
