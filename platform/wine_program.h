#pragma once
// Finding the wine program that runs Windows programs in a prefix, and the
// environment it is given.

#include <string>
#include <vector>

#include "platform/wine_prefix.h"

namespace platform {

// The wine program: $WINE when set and not empty, otherwise "wine".
std::string WineProgram();

// The wine program for a prefix: the Wine build it was found with (its
// launcher's, or $WINE), otherwise WineProgram().
std::string WineProgram(const WinePrefix& prefix);

// The environment of this process with the prefix's Wine variables set
// (WINEPREFIX, and WINESERVER when its Wine build has its own).
std::vector<std::string> EnvironmentWithPrefix(const WinePrefix& prefix);

// What to tell a user whose wine program cannot be found.
std::string WineNotFound(const std::string& wine);

// True when wine's output says it cannot run 32-bit programs because its
// 32-bit part is not installed ("wine32 is missing", as Debian's wine says).
bool SaysWine32IsMissing(const std::string& output);

}  // namespace platform
