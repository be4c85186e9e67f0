#include "platform/prefix_discovery.h"

#include <algorithm>
#include <system_error>

#include "platform/launchers.h"
#include "platform/registry.h"
#include "platform/steam_libraries.h"

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

// The candidates, each with the place it is counted under in messages.
std::vector<std::pair<std::string, fs::path>> LabelledCandidates(const fs::path& home) {
    std::vector<std::pair<std::string, fs::path>> candidates{{"~/.wine", home / ".wine"}};
    const auto addAll = [&candidates](const std::string& label,
                                      const std::vector<fs::path>& folders) {
        for (const fs::path& folder : folders) {
            candidates.emplace_back(label, folder);
        }
    };
    std::vector<fs::path> games = SubFolders(home / "Games");
    std::erase(games, home / "Games/Heroic");  // Heroic's own folder, below
    addAll("~/Games/*", games);
    for (const BottlesPlace& place : BottlesPlaces(home)) {
        addAll("Bottles", SubFolders(place.bottles));
    }
    addAll("Heroic", SubFolders(home / "Games/Heroic/Prefixes"));
    for (const fs::path& steamapps : SteamLibraries(home)) {
        for (const fs::path& game : SubFolders(steamapps / "compatdata")) {
            candidates.emplace_back("Steam library " + steamapps.parent_path().string(),
                                    game / "pfx");
        }
    }
    return candidates;
}

}  // namespace

std::vector<fs::path> CandidatePrefixFolders(const fs::path& home) {
    std::vector<fs::path> folders;
    for (auto& [label, folder] : LabelledCandidates(home)) {
        folders.push_back(std::move(folder));
    }
    return folders;
}

std::vector<std::string> SearchedPlaces(const fs::path& home,
                                        const std::vector<LauncherPrefix>& launchers) {
    // Each folder once, under its launcher's name where one keeps it.
    std::vector<std::pair<std::string, fs::path>> looked;
    for (const LauncherPrefix& entry : launchers) {
        looked.emplace_back(entry.launcher, entry.folder);
    }
    std::vector<std::string> labels = {"~/.wine", "~/Games/*", "Lutris", "Bottles", "Heroic"};
    for (auto& candidate : LabelledCandidates(home)) {
        const fs::path& folder = candidate.second;
        const bool seen = std::any_of(looked.begin(), looked.end(), [&](const auto& known) {
            std::error_code error;
            return known.second == folder || fs::equivalent(known.second, folder, error);
        });
        if (!seen) {
            looked.push_back(std::move(candidate));
        }
    }
    for (const fs::path& steamapps : SteamLibraries(home)) {
        labels.push_back("Steam library " + steamapps.parent_path().string());
    }
    std::vector<std::string> lines;
    for (const std::string& label : labels) {
        const auto count = std::count_if(looked.begin(), looked.end(),
                                         [&](const auto& entry) { return entry.first == label; });
        std::string line = label;
        if (label.starts_with("Steam library " + home.string() + "/")) {
            line = "Steam library ~" + label.substr(14 + home.string().size());
        }
        if (label != "~/.wine") {
            line += ": " + std::to_string(count) + (count == 1 ? " prefix" : " prefixes");
        }
        lines.push_back(std::move(line));
    }
    if (labels.size() == 5) {
        lines.push_back("Steam: no library");
    }
    return lines;
}

Result<fs::path> EnclosingPrefix(const fs::path& given) {
    std::error_code error;
    const fs::path absolute = fs::absolute(given, error).lexically_normal();
    if (!fs::is_directory(absolute, error)) {
        return Error{given.string(), "there is no such folder. " + std::string(kPrefixMeaning)};
    }
    for (fs::path folder = absolute;; folder = folder.parent_path()) {
        if (IsPrefixFolder(folder)) {
            return folder;
        }
        if (folder == folder.root_path() || folder.empty()) {
            break;
        }
    }
    return Error{given.string(), "this folder is no Wine prefix, and no folder above it is one. " +
                                     std::string(kPrefixMeaning)};
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
    if (RegKeyInSavedFile(prefix, gameKey)) {
        return prefix;
    }
    if (prefix.win64) {
        prefix.win64 = false;
        if (RegKeyInSavedFile(prefix, gameKey)) {
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
