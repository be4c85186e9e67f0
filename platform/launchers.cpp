#include "platform/launchers.h"

#include <algorithm>
#include <system_error>

namespace platform {
namespace launchers {

std::vector<std::filesystem::path> FilesWithExtension(const std::filesystem::path& folder,
                                                      const std::string& extension) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().extension() == extension && it->is_regular_file(error)) {
            files.push_back(it->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::filesystem::path ExpandHome(const std::string& text, const std::filesystem::path& home) {
    if (text == "~") {
        return home;
    }
    if (text.starts_with("~/")) {
        return home / text.substr(2);
    }
    return text;
}

}  // namespace launchers

std::vector<LauncherPrefix> LauncherPrefixes(const std::filesystem::path& home) {
    std::vector<LauncherPrefix> all;
    for (auto reader : {LutrisPrefixes, BottlesPrefixes, HeroicPrefixes, SteamPrefixes}) {
        for (LauncherPrefix& entry : reader(home)) {
            // ~/.steam/steam is usually a link to ~/.local/share/Steam.
            const bool seen = std::any_of(all.begin(), all.end(), [&](const LauncherPrefix& known) {
                std::error_code error;
                return known.folder == entry.folder ||
                       std::filesystem::equivalent(known.folder, entry.folder, error);
            });
            if (!seen) {
                all.push_back(std::move(entry));
            }
        }
    }
    return all;
}

}  // namespace platform
