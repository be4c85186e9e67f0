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

// The lock files a wineserver for the prefix holds when it runs inside a
// Flatpak sandbox (a launcher's Wine): Flatpak gives each app a /tmp of its
// own, /tmp/flatpak-<app ID>-XXXXXX on the host. The server's socket lies
// there too, where no Wine outside the sandbox looks for it.
std::vector<std::filesystem::path> SandboxedWineserverLockFiles(
    const std::filesystem::path& prefixFolder);

// True while such a server runs: no Wine here can talk to it, and it saves
// its own copy of the registry over the file.
bool IsWineserverRunningInSandbox(const std::filesystem::path& prefixFolder);

// For messages that refuse to run Wine or to change the registry meanwhile.
inline constexpr const char* kSandboxedServerExplanation =
    "The game or another Windows program is running in this prefix inside a Flatpak sandbox "
    "(started from a launcher). Its wineserver holds the prefix's registry and saves it over "
    "the file, and no Wine outside the sandbox can reach it: a Wine started here would start a "
    "second server on the prefix. Quit the game and the launcher's other Windows programs, then "
    "try again.";

}  // namespace platform
