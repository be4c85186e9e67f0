#pragma once
// Which Wine runs the programs of a prefix. Another Wine version than the
// one its launcher uses updates the prefix (and may break it for the
// launcher), and cannot talk to the launcher's running wineserver.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/launchers.h"
#include "platform/wine_prefix.h"

namespace platform {

// $WINE when set; else the build the prefix's launcher runs it with (when it
// exists and, for a Flatpak launcher's build, starts outside the sandbox);
// else "wine" on the PATH. The description says which and, on a fall-back,
// why the launcher's build was not taken.
WineBuild FindWineBuild(const std::filesystem::path& prefixFolder,
                        const std::vector<LauncherPrefix>& launcherPrefixes);

// The launcher entry for the prefix, when a launcher knows it.
const LauncherPrefix* LauncherOf(const std::filesystem::path& prefixFolder,
                                 const std::vector<LauncherPrefix>& launcherPrefixes);

// What every wine command on the prefix is given: WINEPREFIX, and
// WINESERVER when the prefix's build brings its own bin/wineserver.
std::vector<std::string> WineVariables(const WinePrefix& prefix);

// The wineserver of the prefix's build: its own bin/wineserver when it
// brings one, else "wineserver" on the PATH.
std::string WineserverProgram(const WinePrefix& prefix);

}  // namespace platform
