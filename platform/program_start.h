#pragma once
// Starting a program or opening a document, as the shell's "open" does.

#include <chrono>
#include <string>
#include <string_view>

#include "platform/child_process.h"
#include "platform/pe_header.h"
#include "platform/result.h"
#include "platform/watched_start.h"
#include "platform/wine_prefix.h"

namespace platform {

enum class ShowCommand { Hide = 0, ShowNormal = 1 };

// .exe, .com and .bat files start with the prefix's wine (WineProgram) and the file's
// Windows path and the parameters, in the working folder, with WINEPREFIX set
// to the prefix; the program sees the command line "<file>" <parameters>, the
// parameters exactly as given (unquoted even when they hold blanks). Any other
// file opens with xdg-open. Fails when the file or the working folder does
// not exist or the process cannot be started.

// Starts the program detached; it is never waited for.
Status StartProgram(const WinePrefix& prefix, std::string_view windowsFile,
                    std::string_view parameters, std::string_view windowsWorkingFolder,
                    ShowCommand show);

// Starts the program the same way and waits for it to end (RunToEnd): its
// exit code and what Wine and the program printed.
Result<ChildExit> RunProgram(const WinePrefix& prefix, std::string_view windowsFile,
                             std::string_view parameters, std::string_view windowsWorkingFolder,
                             ShowCommand show, std::chrono::milliseconds timeLimit);

// Starts the program as StartProgram does, its output going to outputFile,
// and watches its first moments (StartWatched).
Result<std::unique_ptr<WatchedStart>> StartWatchedProgram(const WinePrefix& prefix,
                                                          std::string_view windowsFile,
                                                          std::string_view windowsWorkingFolder,
                                                          int outputFile,
                                                          std::chrono::milliseconds watchTime);

// Whether the program at the Windows path is a 32-bit or a 64-bit one;
// nothing when that cannot be read from it.
std::optional<ProgramBits> ProgramBitsOf(const WinePrefix& prefix, std::string_view windowsFile);

}  // namespace platform
