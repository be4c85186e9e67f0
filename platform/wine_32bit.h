#pragma once
// Whether a Wine build can run 32-bit Windows programs. Debian's wine
// without its 32-bit part (wine32) prints a notice at every start, runs a
// 64-bit program, but ends a 32-bit one at once with exit status 0: its exit
// status says nothing, so the build's files and its output are looked at.

#include <string>
#include <string_view>

#include "platform/wine_prefix.h"

namespace platform {

enum class Runs32Bit { Yes, No, Unknown };

// What the build's files show. Debian's wine script names its 32-bit loader
// (wine32=/usr/lib/wine/wine), which is there only with wine32; a build in
// its own folder (bin/wine, lib/wine/<arch>-unix) has i386-unix only with its
// 32-bit part. Unknown for anything else.
Runs32Bit CanRun32Bit(const WineBuild& build);

// True when Wine's output says that it could not run a 32-bit program: the
// notice of Debian's wine ("it looks like wine32 is missing") or the loader's
// failure to find its 32-bit part (load_wow64_ntdll).
bool SaysCannotRun32Bit(std::string_view output);

// How the user gets a Wine that runs 32-bit programs, for this build: the
// commands for Debian's and Ubuntu's wine, otherwise that the build lacks
// its 32-bit part.
std::string How32BitPartIsGot(const WineBuild& build);

}  // namespace platform
