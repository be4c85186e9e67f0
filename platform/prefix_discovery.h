#pragma once
// Finding the game's Wine prefixes when WINEPREFIX is not set: a program
// started from the desktop menu has no WINEPREFIX, and game launchers keep a
// prefix per game in places of their own.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/launchers.h"
#include "platform/result.h"
#include "platform/wine_prefix.h"

namespace platform {

// The folders that may hold the game's prefix, in the order they are tried:
// ~/.wine; ~/Games/* (Lutris' usual place); the bottles of Bottles (native,
// Flatpak, and under their custom_bottles_path); Heroic
// (~/Games/Heroic/Prefixes/*); steamapps/compatdata/*/pfx in every Steam
// library. Within one place, by name.
std::vector<std::filesystem::path> CandidatePrefixFolders(const std::filesystem::path& home);

// Where prefixes were looked for, one short line per place as the user reads
// it: "~/.wine", "~/Games/*: 2 prefixes", each launcher with the number of
// its prefixes, each Steam library.
std::vector<std::string> SearchedPlaces(const std::filesystem::path& home,
                                        const std::vector<LauncherPrefix>& launchers);

// What a prefix is, for messages that refuse a folder.
constexpr const char* kPrefixMeaning =
    "A Wine prefix is the folder that holds system.reg and drive_c (for example ~/.wine).";

// The prefix a folder given by the user means: the folder itself when it is
// a prefix, else the prefix it lies in (its drive_c, dosdevices, the game's
// folder). An error names the folder and says what a prefix is.
Result<std::filesystem::path> EnclosingPrefix(const std::filesystem::path& given);

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
