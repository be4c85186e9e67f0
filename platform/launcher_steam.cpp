#include <fstream>
#include <system_error>

#include "platform/launchers.h"

namespace platform {
namespace {

// The Proton build that config_info names: the folder that holds the files/
// or dist/ folder its later lines point into.
std::filesystem::path ProtonFilesFolder(const std::filesystem::path& configInfo) {
    std::ifstream in(configInfo, std::ios::binary);
    std::string line;
    std::getline(in, line);  // the build's version
    while (std::getline(in, line)) {
        for (const char* inside : {"/files/", "/dist/"}) {
            const std::size_t at = line.find(inside);
            if (line.starts_with("/") && at != std::string::npos) {
                return line.substr(0, at + std::char_traits<char>::length(inside) - 1);
            }
        }
    }
    return {};
}

// The "name" line of the game's appmanifest_<id>.acf.
std::string SteamGameName(const std::filesystem::path& steamapps, const std::string& id) {
    std::ifstream in(steamapps / ("appmanifest_" + id + ".acf"), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t key = line.find("\"name\"");
        if (key == std::string::npos) {
            continue;
        }
        const std::size_t open = line.find('"', key + 6);
        const std::size_t close = line.find('"', open + 1);
        if (open != std::string::npos && close != std::string::npos) {
            return line.substr(open + 1, close - open - 1);
        }
    }
    return {};
}

}  // namespace

std::vector<LauncherPrefix> SteamPrefixes(const std::filesystem::path& home) {
    std::vector<LauncherPrefix> found;
    for (const char* steam : {".local/share/Steam", ".steam/steam"}) {
        const std::filesystem::path steamapps = home / steam / "steamapps";
        std::error_code error;
        for (std::filesystem::directory_iterator it(steamapps / "compatdata", error), end;
             !error && it != end; it.increment(error)) {
            const std::filesystem::path files = ProtonFilesFolder(it->path() / "config_info");
            if (files.empty()) {
                continue;
            }
            LauncherPrefix entry;
            entry.folder = it->path() / "pfx";
            entry.launcher = "Steam";
            entry.game = SteamGameName(steamapps, it->path().filename().string());
            entry.buildName = files.parent_path().filename().string();
            entry.wine = files / "bin/wine";
            found.push_back(std::move(entry));
        }
    }
    return found;
}

}  // namespace platform
