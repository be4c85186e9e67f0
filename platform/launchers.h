#pragma once
// What game launchers say about the Wine prefixes they keep: which Wine build
// runs each one. Every reader is tolerant: a missing, unreadable or unknown
// file only means that nothing is known about its prefix.

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

struct LauncherPrefix {
    std::filesystem::path folder;  // the prefix
    std::string launcher;          // "Lutris", "Bottles", "Heroic", "Steam"
    std::string game;              // the game's (or bottle's) name; "" when not known
    std::string buildName;         // the Wine build the launcher names; "" when not known
    std::filesystem::path wine;    // that build's bin/wine; empty for the system's Wine
    bool systemWine = false;       // the launcher runs the prefix with the system's Wine
    bool sandboxed = false;        // a Flatpak launcher's build: may not run outside it
};

// Lutris, native (~/.config/lutris, ~/.local/share/lutris) and as a Flatpak
// (~/.var/app/net.lutris.Lutris/{config,data}/lutris, its builds sandboxed):
// games/*.yml in either folder, game: prefix:, wine: version: (default in
// runners/wine.yml). The version is "system", a known system build
// ("winehq-staging": /opt/wine-staging/bin/wine), "custom" with wine:
// custom_wine_path:, a Proton build in a Steam library, else a runner in
// <data>/runners/wine/<version>/bin/wine.
std::vector<LauncherPrefix> LutrisPrefixes(const std::filesystem::path& home);

// Where Bottles keeps bottles: <data>/bottles, and the custom_bottles_path of
// <data>/data.yml; the data folder is ~/.local/share/bottles or the Flatpak's
// ~/.var/app/com.usebottles.bottles/data/bottles.
struct BottlesPlace {
    std::filesystem::path bottles;  // holds a folder per bottle
    std::filesystem::path data;     // holds runners/
    bool sandboxed = false;
};
std::vector<BottlesPlace> BottlesPlaces(const std::filesystem::path& home);

// <place>/*/bottle.yml, key Runner: (a "sys-" runner is the system's Wine),
// the build in <data>/runners/<runner>/bin/wine.
std::vector<LauncherPrefix> BottlesPrefixes(const std::filesystem::path& home);

// ~/.config/heroic/GamesConfig/*.json (or the Flatpak one): per game
// winePrefix and wineVersion.bin; a Proton build's wine is its files/bin/wine
// or dist/bin/wine.
std::vector<LauncherPrefix> HeroicPrefixes(const std::filesystem::path& home);

// steamapps/compatdata/<id>/pfx in every Steam library (steam_libraries.h):
// config_info names the Proton build last used; its later lines lie inside the
// build's files/ or dist/ folder, whose bin/wine is used.
std::vector<LauncherPrefix> SteamPrefixes(const std::filesystem::path& home);

// All of the above, each prefix once.
std::vector<LauncherPrefix> LauncherPrefixes(const std::filesystem::path& home);

// Helpers shared by the readers.
namespace launchers {
// The files in folder with the extension, by name; none when unreadable.
std::vector<std::filesystem::path> FilesWithExtension(const std::filesystem::path& folder,
                                                      const std::string& extension);
// A path from a launcher's file: "~/" is the home folder.
std::filesystem::path ExpandHome(const std::string& text, const std::filesystem::path& home);
// The text at each key path of a YAML file ({"game", "prefix"} is game: prefix:),
// "" where the file cannot be read or holds no text there.
std::vector<std::string> YamlTexts(const std::filesystem::path& file,
                                   const std::vector<std::vector<std::string>>& keyPaths);
}  // namespace launchers

}  // namespace platform
