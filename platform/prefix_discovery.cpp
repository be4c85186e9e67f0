#include "platform/prefix_discovery.h"

#include <algorithm>
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

std::vector<std::string> CandidatePlaces() {
    return {"~/.wine",
            "~/Games/*",
            "~/.local/share/bottles/bottles/*",
            "~/.var/app/com.usebottles.bottles/data/bottles/bottles/*",
            "~/Games/Heroic/Prefixes/*",
            "~/.local/share/Steam/steamapps/compatdata/*/pfx",
            "~/.steam/steam/steamapps/compatdata/*/pfx",
            "the prefixes named in Lutris', Bottles', Heroic's and Steam's settings"};
}

bool IsPrefixFolder(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / "system.reg", error) &&
           fs::is_directory(folder / "drive_c", error);
}

std::optional<WinePrefix> PrefixHoldingKey(const fs::path& folder, std::string_view gameKey) {
    if (!IsPrefixFolder(folder)) {
        return std::nullopt;
    }
    WinePrefix prefix = LoadPrefix(folder);
    if (HoldsKey(prefix, gameKey)) {
        return prefix;
    }
    if (prefix.win64) {
        prefix.win64 = false;
        if (HoldsKey(prefix, gameKey)) {
            return prefix;
        }
    }
    return std::nullopt;
}

std::vector<WinePrefix> FindPrefixesWithKey(const fs::path& home, std::string_view gameKey,
                                            const std::vector<fs::path>& more) {
    std::vector<fs::path> folders = CandidatePrefixFolders(home);
    folders.insert(folders.end(), more.begin(), more.end());
    std::vector<WinePrefix> found;
    for (const fs::path& folder : folders) {
        const bool seen = std::any_of(found.begin(), found.end(), [&](const WinePrefix& known) {
            std::error_code error;
            return fs::equivalent(known.folder, folder, error);
        });
        if (!seen) {
            if (std::optional<WinePrefix> prefix = PrefixHoldingKey(folder, gameKey)) {
                found.push_back(std::move(*prefix));
            }
        }
    }
    return found;
}

}  // namespace platform
