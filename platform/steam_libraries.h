#pragma once
// Steam's libraries: Steam keeps games in its own folder and in the further
// libraries that steamapps/libraryfolders.vdf lists (a second disk, a Steam
// Deck's SD card), natively and as a Flatpak.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The library folders libraryfolders.vdf names, in its order: the current
// form holds a block per library with a "path" key, the older one a
// numbered key whose value is the path.
std::vector<std::string> LibraryFolderPaths(std::string_view vdf);

// Steam's own folders that exist in home: ~/.local/share/Steam,
// ~/.steam/steam, and the Flatpak's .local/share/Steam and data/Steam.
std::vector<std::filesystem::path> SteamFolders(const std::filesystem::path& home);

// The steamapps folder of every library that is there, each once: Steam's
// own folders first, then those the libraryfolders.vdf files list. A listed
// library that is absent (a card taken out) is left out.
std::vector<std::filesystem::path> SteamLibraries(const std::filesystem::path& home);

// The bin/wine of the Proton build installed in a library as
// steamapps/common/<name> (in its files/ or dist/ folder); empty when none.
std::filesystem::path SteamProtonWine(const std::filesystem::path& home, const std::string& name);

}  // namespace platform
