#pragma once
// Finding the game's Wine prefixes when WINEPREFIX is not set: a program
// started from the desktop menu has no WINEPREFIX, and game launchers keep a
// prefix per game in places of their own.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/wine_prefix.h"

namespace platform {

// The folders that may hold the game's prefix, in the order they are tried:
// ~/.wine; Lutris (~/Games/*); Bottles (~/.local/share/bottles/bottles/* and
// its Flatpak place ~/.var/app/com.usebottles.bottles/data/bottles/bottles/*);
// Heroic (~/Games/Heroic/Prefixes/*); Steam's steamapps/compatdata/*/pfx under
// ~/.local/share/Steam and ~/.steam/steam. Within one place, by name.
std::vector<std::filesystem::path> CandidatePrefixFolders(const std::filesystem::path& home);

// The same places as the user reads them ("~/Games/*"), for messages.
std::vector<std::string> CandidatePlaces();

// A folder counts as a prefix when it holds system.reg and drive_c.
bool IsPrefixFolder(const std::filesystem::path& folder);

// The prefix in folder when its registry holds gameKey (under
// HKEY_LOCAL_MACHINE), in its 32-bit view or, failing that, its 64-bit view.
// A prefix where the key is found only in the 64-bit view is returned with
// win64 cleared, so that its keys are read and written where they are.
std::optional<WinePrefix> PrefixHoldingKey(const std::filesystem::path& folder,
                                           std::string_view gameKey);

// Every candidate (and every further folder given, e.g. from the launchers'
// files) that holds gameKey, in order, each once.
std::vector<WinePrefix> FindPrefixesWithKey(const std::filesystem::path& home,
                                            std::string_view gameKey,
                                            const std::vector<std::filesystem::path>& more = {});

}  // namespace platform
