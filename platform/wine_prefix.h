#pragma once
// The Wine prefix the programs work on, and which registry view they see in it.

#include <filesystem>
#include <string>

namespace platform {

struct WinePrefix {
    std::filesystem::path folder;  // holds system.reg, dosdevices/ and drive_c/
    bool win64 = false;            // "#arch=win64" in system.reg: HKLM\Software is seen
                                   // through Software\Wow6432Node by our 32-bit programs
};

// $WINEPREFIX when set and not empty, otherwise ~/.wine (Wine's own convention).
std::filesystem::path DefaultPrefixFolder();

// Reads the architecture line of <folder>/system.reg. A missing or unreadable
// file gives a win32 prefix (whose registry then simply has no keys).
WinePrefix LoadPrefix(const std::filesystem::path& folder);

// The prefix the programs use: LoadPrefix(DefaultPrefixFolder()).
WinePrefix CurrentPrefix();

}  // namespace platform
