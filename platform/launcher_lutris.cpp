#include <regex>

#include "platform/launchers.h"

namespace platform {

std::vector<LauncherPrefix> LutrisPrefixes(const std::filesystem::path& home) {
    const std::filesystem::path data = home / ".local/share/lutris";
    const std::string defaultVersion =
        launchers::YamlTexts(home / ".config/lutris/runners/wine.yml", {{"wine", "version"}})[0];
    std::vector<LauncherPrefix> found;
    for (const auto& games : {home / ".config/lutris/games", data / "games"}) {
        for (const auto& file : launchers::FilesWithExtension(games, ".yml")) {
            const auto texts =
                launchers::YamlTexts(file, {{"game", "prefix"}, {"wine", "version"}});
            if (texts[0].empty()) {
                continue;
            }
            LauncherPrefix entry;
            entry.folder = launchers::ExpandHome(texts[0], home);
            entry.launcher = "Lutris";
            // Lutris names a game's file <slug>-<install time>.yml.
            entry.game = std::regex_replace(file.stem().string(), std::regex("-[0-9]+$"), "");
            entry.buildName = texts[1].empty() ? defaultVersion : texts[1];
            if (entry.buildName == "system") {
                entry.systemWine = true;
            } else if (!entry.buildName.empty() && entry.buildName.find('/') == std::string::npos) {
                entry.wine = data / "runners/wine" / entry.buildName / "bin/wine";
            }
            found.push_back(std::move(entry));
        }
    }
    return found;
}

}  // namespace platform
