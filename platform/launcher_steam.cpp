#include <system_error>

#include "platform/file_read.h"
#include "platform/launchers.h"
#include "platform/steam_libraries.h"

namespace platform {
namespace {

// The lines of a small text file; none when it cannot be read.
std::vector<std::string> Lines(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    const Result<std::string> text = ReadWholeFile(file);
    if (!text) {
        return lines;
    }
    std::size_t at = 0;
    while (at < text->size()) {
        const std::size_t end = std::min(text->find('\n', at), text->size());
        lines.push_back(text->substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

// The Proton build that config_info names: the folder that holds the files/
// or dist/ folder its later lines point into, in whichever library it lies.
// The last such folder in a line is the build's: the library's own path may
// hold one too (a disk mounted at /media/files).
std::filesystem::path ProtonFilesFolder(const std::filesystem::path& configInfo) {
    const std::vector<std::string> lines = Lines(configInfo);
    for (std::size_t i = 1; i < lines.size(); ++i) {  // the first line is the build's version
        const std::string& line = lines[i];
        const std::size_t files = line.rfind("/files/");
        const std::size_t dist = line.rfind("/dist/");
        if (!line.starts_with("/") || (files == std::string::npos && dist == std::string::npos)) {
            continue;
        }
        // Up to and with "/files" or "/dist", without the slash after it.
        if (files != std::string::npos && (dist == std::string::npos || files > dist)) {
            return line.substr(0, files + std::string_view("/files").size());
        }
        return line.substr(0, dist + std::string_view("/dist").size());
    }
    return {};
}

// The "name" line of the game's appmanifest_<id>.acf.
std::string SteamGameName(const std::filesystem::path& steamapps, const std::string& id) {
    for (const std::string& line : Lines(steamapps / ("appmanifest_" + id + ".acf"))) {
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
    for (const std::filesystem::path& steamapps : SteamLibraries(home)) {
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
