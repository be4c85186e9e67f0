#pragma once
// Finding the wineserver that runs for a prefix.

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// The lock files a wineserver for the prefix would hold: the one in
// /tmp/.wine-<uid>/server-<dev>-<ino>/ (upstream Wine), and the one in the
// folder that the prefix's file "wineserver" names (Debian's Wine, which
// makes its server folders with mkdtemp under $TMPDIR or /tmp).
std::vector<std::filesystem::path> WineserverLockFiles(const std::filesystem::path& prefixFolder);

// True while a wineserver runs for the prefix: it holds a write lock on its
// lock file for as long as it lives.
bool IsWineserverRunning(const std::filesystem::path& prefixFolder);

}  // namespace platform
