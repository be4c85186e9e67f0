#pragma once
// Reading a key and setting a value through Wine's reg tool, the way to see
// and change the registry while a wineserver owns it.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "platform/wine_prefix.h"

namespace platform {

// reg finishes in well under a second with a running server, and in up to
// about 15 seconds on a prefix whose server has just started; this only
// guards against a wine that hangs.
inline constexpr std::chrono::seconds kWineRegTimeLimit{60};

// The keys as the running wineserver holds them, with the view our programs
// see, each exported by
//   $WINE reg export "HKLM\<key>" <temporary file> /y [/reg:32]
// all side by side, in the time of one. For each key, in their order: the
// exported file's bytes (UTF-16LE, "Windows Registry Editor Version 5.00":
// the key's block first, then its subkeys'), or nothing when reg says that
// the key does not exist; any other failure is an error with what reg
// printed. Key names are Windows-1252.
std::vector<Result<std::optional<std::string>>> WineRegExports(
    const WinePrefix& prefix, const std::vector<std::string>& keys);

// Sets a REG_SZ value through the running wineserver:
//   $WINE reg add "HKLM\<key>" /v <name> /t REG_SZ /d <text> /f [/reg:32]
// /reg:32 in a win64 prefix gives the 32-bit view our programs see. Key,
// name and text are Windows-1252. Waits for reg to finish (a window keeps
// painting meanwhile, see child_process.h).
Status WineRegAddString(const WinePrefix& prefix, std::string_view key, std::string_view name,
                        std::string_view text);

}  // namespace platform
