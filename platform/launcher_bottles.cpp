#include <system_error>

#include "platform/launchers.h"

namespace platform {

std::vector<BottlesPlace> BottlesPlaces(const std::filesystem::path& home) {
    const std::pair<std::filesystem::path, bool> datas[] = {
        {home / ".local/share/bottles", false},
        {home / ".var/app/com.usebottles.bottles/data/bottles", true},
    };
    std::vector<BottlesPlace> places;
    for (const auto& [data, sandboxed] : datas) {
        places.push_back({data / "bottles", data, sandboxed});
        // The player may keep every bottle in another folder.
        const std::string custom =
            launchers::YamlTexts(data / "data.yml", {{"custom_bottles_path"}})[0];
        if (!custom.empty()) {
            places.push_back({launchers::ExpandHome(custom, home), data, sandboxed});
        }
    }
    return places;
}

std::vector<LauncherPrefix> BottlesPrefixes(const std::filesystem::path& home) {
    std::vector<LauncherPrefix> found;
    for (const BottlesPlace& place : BottlesPlaces(home)) {
        std::error_code error;
        for (std::filesystem::directory_iterator it(place.bottles, error), end; !error && it != end;
             it.increment(error)) {
            const auto texts =
                launchers::YamlTexts(it->path() / "bottle.yml", {{"Runner"}, {"Name"}});
            if (texts[0].empty()) {
                continue;
            }
            LauncherPrefix entry;
            entry.folder = it->path();
            entry.launcher = "Bottles";
            entry.game = texts[1];
            entry.buildName = texts[0];
            entry.sandboxed = place.sandboxed;
            if (entry.buildName.starts_with("sys-")) {
                entry.systemWine = true;
            } else if (entry.buildName.find('/') == std::string::npos) {
                entry.wine = place.data / "runners" / entry.buildName / "bin/wine";
            }
            found.push_back(std::move(entry));
        }
    }
    return found;
}

}  // namespace platform
