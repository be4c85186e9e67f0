#include <system_error>

#include "platform/launchers.h"

namespace platform {

std::vector<LauncherPrefix> BottlesPrefixes(const std::filesystem::path& home) {
    const std::pair<std::filesystem::path, bool> places[] = {
        {home / ".local/share/bottles", false},
        {home / ".var/app/com.usebottles.bottles/data/bottles", true},
    };
    std::vector<LauncherPrefix> found;
    for (const auto& [data, sandboxed] : places) {
        std::error_code error;
        for (std::filesystem::directory_iterator it(data / "bottles", error), end;
             !error && it != end; it.increment(error)) {
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
            entry.sandboxed = sandboxed;
            if (entry.buildName.starts_with("sys-")) {
                entry.systemWine = true;
            } else if (entry.buildName.find('/') == std::string::npos) {
                entry.wine = data / "runners" / entry.buildName / "bin/wine";
            }
            found.push_back(std::move(entry));
        }
    }
    return found;
}

}  // namespace platform
