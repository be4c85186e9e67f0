#include "platform/wine_prefix.h"

#include <cstdlib>
#include <sstream>
#include <string>

#include "platform/file_read.h"
#include "platform/user_folders.h"

namespace platform {
namespace {

// Wine writes three lines before the first key; a header this long is none of its.
constexpr std::size_t kHeaderLength = 4096;

}  // namespace

std::filesystem::path DefaultPrefixFolder() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
        return prefix;
    }
    return HomeFolder() / ".wine";
}

WinePrefix LoadPrefix(const std::filesystem::path& folder) {
    WinePrefix prefix;
    prefix.folder = folder;
    // The architecture line sits in the header, a few lines before the first key.
    const Result<std::string> start = ReadFilePart(folder / "system.reg", 0, kHeaderLength);
    std::istringstream header(start ? *start : std::string());
    std::string line;
    while (std::getline(header, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.starts_with("[")) {
            break;
        }
        if (line.starts_with("#arch=")) {
            prefix.win64 = line == "#arch=win64";
            break;
        }
    }
    return prefix;
}

WinePrefix CurrentPrefix() {
    return LoadPrefix(DefaultPrefixFolder());
}

}  // namespace platform
