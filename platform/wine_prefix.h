#pragma once
// The Wine prefix the programs work on, and which registry view they see in it.

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// The Wine that runs programs in a prefix (platform/wine_build.h finds it).
struct WineBuild {
    std::string program;      // a path, or a name looked up in PATH; "" means WineProgram()
    std::string description;  // where it comes from, e.g. "Lutris runner lutris-7.2-2-x86_64"
    // Set when the prefix's launcher runs it with a build that cannot be used
    // here: which build and why ("Lutris's build lutris-7.2 is not at ...").
    // Another Wine may update the prefix so that this build no longer runs it.
    std::string launcherBuildUnusable;
};

struct WinePrefix {
    std::filesystem::path folder;       // holds system.reg, dosdevices/ and drive_c/
    bool win64 = false;                 // "#arch=win64" in system.reg: HKLM\Software is seen
                                        // through Software\Wow6432Node by our 32-bit programs
    WineBuild wine;                     // the Wine every wine command on this prefix uses
    std::string foundHow;               // how the programs came to this prefix, for messages
    std::vector<std::string> searched;  // where prefixes were looked for when none held the game
    std::vector<std::string> notes;     // what the user should know first (a remembered one absent)
};

// $WINEPREFIX when set and not empty, otherwise ~/.wine (Wine's own convention).
std::filesystem::path DefaultPrefixFolder();

// Reads the architecture line of <folder>/system.reg. A missing or unreadable
// file gives a win32 prefix (whose registry then simply has no keys).
WinePrefix LoadPrefix(const std::filesystem::path& folder);

// The prefix the programs use: LoadPrefix(DefaultPrefixFolder()).
WinePrefix CurrentPrefix();

}  // namespace platform
