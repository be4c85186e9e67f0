#pragma once
// Starting a program or opening a document, as the shell's "open" does.

#include <string>
#include <string_view>

#include "platform/result.h"
#include "platform/wine_prefix.h"

namespace platform {

enum class ShowCommand { Hide = 0, ShowNormal = 1 };

// .exe, .com and .bat files start with the prefix's wine (WineProgram) and the file's
// Windows path and the parameters, in the working folder, with WINEPREFIX set
// to the prefix; the program sees the command line "<file>" <parameters>, the
// parameters exactly as given (unquoted even when they hold blanks). Any other
// file opens with xdg-open. Started programs are detached and never waited for.
// Fails when the file does not exist or the process cannot be started.
Status StartProgram(const WinePrefix& prefix, std::string_view windowsFile,
                    std::string_view parameters, std::string_view windowsWorkingFolder,
                    ShowCommand show);

}  // namespace platform
