#include <regex>

#include "platform/launchers.h"
#include "platform/steam_libraries.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// The Wine builds Lutris knows by name besides its runners and "system".
const std::pair<const char*, const char*> kKnownSystemBuilds[] = {
    {"winehq-devel", "/opt/wine-devel/bin/wine"},
    {"winehq-staging", "/opt/wine-staging/bin/wine"},
    {"winehq-stable", "/opt/wine-stable/bin/wine"},
    {"wine-development", "/usr/lib/wine-development/wine"},
};

// Fills the build of entry from the version Lutris names: "system", a known
// system build, "custom" (with its custom_wine_path), a Proton build that
// Steam installed, else one of Lutris' own runners.
void SetBuild(LauncherPrefix& entry, const std::string& customPath, const fs::path& home,
              const fs::path& data) {
    const std::string& name = entry.buildName;
    if (name.empty() || name.find('/') != std::string::npos) {
        return;
    }
    if (name == "system") {
        entry.systemWine = true;
        return;
    }
    for (const auto& [known, wine] : kKnownSystemBuilds) {
        if (name == known) {
            entry.wine = wine;
            return;
        }
    }
    if (name == "custom") {
        entry.wine = launchers::ExpandHome(customPath, home);
        return;
    }
    if (name.find("Proton") != std::string::npos) {
        entry.wine = SteamProtonWine(home, name);
        if (!entry.wine.empty()) {
            return;
        }
    }
    entry.wine = data / "runners/wine" / name / "bin/wine";
}

}  // namespace

std::vector<LauncherPrefix> LutrisPrefixes(const fs::path& home) {
    struct Place {
        fs::path config, data;
        bool sandboxed;
    } const places[] = {
        {home / ".config/lutris", home / ".local/share/lutris", false},
        {home / ".var/app/net.lutris.Lutris/config/lutris",
         home / ".var/app/net.lutris.Lutris/data/lutris", true},
    };
    std::vector<LauncherPrefix> found;
    for (const Place& place : places) {
        const auto defaults = launchers::YamlTexts(
            place.config / "runners/wine.yml", {{"wine", "version"}, {"wine", "custom_wine_path"}});
        for (const auto& games : {place.config / "games", place.data / "games"}) {
            for (const auto& file : launchers::FilesWithExtension(games, ".yml")) {
                const auto texts = launchers::YamlTexts(
                    file, {{"game", "prefix"}, {"wine", "version"}, {"wine", "custom_wine_path"}});
                if (texts[0].empty()) {
                    continue;
                }
                LauncherPrefix entry;
                entry.folder = launchers::ExpandHome(texts[0], home);
                entry.launcher = "Lutris";
                // Lutris names a game's file <slug>-<install time>.yml.
                entry.game = std::regex_replace(file.stem().string(), std::regex("-[0-9]+$"), "");
                entry.buildName = texts[1].empty() ? defaults[0] : texts[1];
                entry.sandboxed = place.sandboxed;
                SetBuild(entry, texts[2].empty() ? defaults[1] : texts[2], home, place.data);
                found.push_back(std::move(entry));
            }
        }
    }
    return found;
}

}  // namespace platform
