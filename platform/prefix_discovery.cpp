#include "platform/prefix_discovery.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "platform/registry.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// The sub-folders of parent, by name; none when it cannot be read.
std::vector<fs::path> SubFolders(const fs::path& parent) {
    std::vector<fs::path> folders;
    std::error_code error;
    for (fs::directory_iterator it(parent, error), end; !error && it != end; it.increment(error)) {
        if (it->is_directory(error)) {
            folders.push_back(it->path());
        }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

bool HoldsKey(const WinePrefix& prefix, std::string_view key) {
    RegistryKey handle;
    if (RegOpenKey(prefix, key, KeyAccess::QueryValue, handle) != RegStatus::Success) {
        return false;
    }
    RegCloseKey(handle);
    return true;
}

}  // namespace

std::vector<fs::path> CandidatePrefixFolders(const fs::path& home) {
    std::vector<fs::path> candidates{home / ".wine"};
    const auto addAll = [&candidates](const std::vector<fs::path>& folders) {
        candidates.insert(candidates.end(), folders.begin(), folders.end());
    };
    addAll(SubFolders(home / "Games"));
    addAll(SubFolders(home / ".local/share/bottles/bottles"));
    addAll(SubFolders(home / ".var/app/com.usebottles.bottles/data/bottles/bottles"));
    addAll(SubFolders(home / "Games/Heroic/Prefixes"));
    for (const char* steam : {".local/share/Steam", ".steam/steam"}) {
        for (const fs::path& game : SubFolders(home / steam / "steamapps/compatdata")) {
            candidates.push_back(game / "pfx");
        }
    }
    return candidates;
}

bool IsPrefixFolder(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / "system.reg", error) &&
           fs::is_directory(folder / "drive_c", error);
}

std::optional<WinePrefix> FindPrefixWithKey(const fs::path& home, std::string_view gameKey) {
    for (const fs::path& folder : CandidatePrefixFolders(home)) {
        if (!IsPrefixFolder(folder)) {
            continue;
        }
        WinePrefix prefix = LoadPrefix(folder);
        if (HoldsKey(prefix, gameKey)) {
            return prefix;
        }
        if (prefix.win64) {
            WinePrefix nativeView = prefix;
            nativeView.win64 = false;
            if (HoldsKey(nativeView, gameKey)) {
                return nativeView;
            }
        }
    }
    return std::nullopt;
}

WinePrefix ChoosePrefix(std::string_view gameKey) {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
        return LoadPrefix(prefix);
    }
    const fs::path fallback = DefaultPrefixFolder();
    const fs::path home = fallback.parent_path();
    if (std::optional<WinePrefix> found = FindPrefixWithKey(home, gameKey)) {
        return *found;
    }
    return LoadPrefix(fallback);
}

}  // namespace platform
