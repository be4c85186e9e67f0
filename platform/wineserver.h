#pragma once
// The wineserver of a prefix, and the wine tools we run while it owns the
// registry.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "platform/wine_prefix.h"

namespace platform {

// The lock files a wineserver for the prefix would hold: the one in
// /tmp/.wine-<uid>/server-<dev>-<ino>/ (upstream Wine), and the one in the
// folder that the prefix's file "wineserver" names (Debian's Wine, which
// makes its server folders with mkdtemp under $TMPDIR or /tmp).
std::vector<std::filesystem::path> WineserverLockFiles(const std::filesystem::path& prefixFolder);

// True while a wineserver runs for the prefix: it holds a write lock on its
// lock file for as long as it lives.
bool IsWineserverRunning(const std::filesystem::path& prefixFolder);

// The wine program: $WINE when set and not empty, otherwise "wine".
std::string WineProgram();

// Finds a program as the shell does: a name with a slash is taken as it is,
// any other is looked up in $PATH. Nothing when no executable file is found.
std::optional<std::filesystem::path> FindExecutable(std::string_view program);

// The environment of this process with WINEPREFIX set to the prefix.
std::vector<std::string> EnvironmentWithPrefix(const WinePrefix& prefix);

// Runs `$WINE <arguments...>` for the prefix (WINEDEBUG=-all, no input or
// output) and waits for it to end. Gives its exit status; what names the
// command in errors ("wine reg add").
Result<int> RunWine(const WinePrefix& prefix, const std::vector<std::string>& arguments,
                    const std::string& what);

// The key as the running wineserver holds it, with the view our programs see:
//   $WINE reg export "HKLM\<key>" <temporary file> /y [/reg:32]
// Gives the exported file's bytes (UTF-16LE, "Windows Registry Editor
// Version 5.00": the key's block first, then its subkeys'), or nothing when
// the key does not exist. The key name is Windows-1252.
Result<std::optional<std::string>> WineRegExport(const WinePrefix& prefix, std::string_view key);

// Sets a REG_SZ value through the running wineserver:
//   $WINE reg add "HKLM\<key>" /v <name> /t REG_SZ /d <text> /f [/reg:32]
// /reg:32 in a win64 prefix gives the 32-bit view our programs see. Key,
// name and text are Windows-1252. Waits for reg to finish.
Status WineRegAddString(const WinePrefix& prefix, std::string_view key, std::string_view name,
                        std::string_view text);

}  // namespace platform
