#include "platform/prefix_selection.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <system_error>

#include "platform/file_read.h"
#include "platform/file_replacement.h"
#include "platform/launchers.h"
#include "platform/prefix_discovery.h"
#include "platform/user_folders.h"
#include "platform/wine_build.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// $WINE names the Wine build, whatever launcher keeps the prefix.
bool WineFromEnvironment() {
    return !Environment("WINE").empty();
}

fs::file_time_type LastChange(const fs::path& folder) {
    // file_clock's epoch lies in the future: times of today are negative.
    fs::file_time_type newest = fs::file_time_type::min();
    for (const char* file : {"system.reg", "user.reg"}) {
        std::error_code error;
        newest = std::max(newest, fs::last_write_time(folder / file, error));
    }
    return newest;
}

// A prefix the user named (--prefix, WINEPREFIX, a chosen folder), in the
// view where the game's key lies (when it does). A folder inside a prefix
// means that prefix.
Result<WinePrefix> NamedPrefix(const fs::path& given, const std::string& gameKey, std::string how) {
    Result<fs::path> folder = EnclosingPrefix(given);
    if (!folder) {
        return folder.error();
    }
    std::optional<WinePrefix> holding = PrefixHoldingKey(*folder, gameKey);
    WinePrefix prefix = holding ? std::move(*holding) : LoadPrefix(*folder);
    prefix.foundHow = std::move(how);
    std::error_code error;
    if (!fs::equivalent(*folder, given, error)) {
        prefix.foundHow += ": " + given.string() + " lies inside it";
    }
    return prefix;
}

std::optional<fs::path> Remembered(const fs::path& configHome) {
    const Result<std::string> text = ReadWholeFile(RememberedPrefixFile(configHome), 64 * 1024);
    const std::string line = text ? text->substr(0, text->find('\n')) : std::string();
    if (line.empty()) {
        return std::nullopt;
    }
    return fs::path(line);
}

}  // namespace

SelectionInput CurrentSelectionInput(std::string gameKey, std::string commandLinePrefix) {
    SelectionInput input;
    input.gameKey = std::move(gameKey);
    input.commandLinePrefix = std::move(commandLinePrefix);
    input.environmentPrefix = Environment("WINEPREFIX");
    input.home = HomeFolder();
    input.configHome = XdgFolder("XDG_CONFIG_HOME", ".config");
    return input;
}

fs::path RememberedPrefixFile(const fs::path& configHome) {
    return configHome / "r6tools" / "prefix";
}

Status RememberPrefix(const fs::path& configHome, const fs::path& folder) {
    const fs::path file = RememberedPrefixFile(configHome);
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    if (error) {
        return SystemError(file.parent_path().string(), error.value());
    }
    return ReplaceFile(file, folder.string() + '\n');
}

PrefixSelection SelectPrefix(const SelectionInput& input) {
    // The launchers' files are read only when something needs them: with
    // $WINE set, a prefix given by name or remembered needs none.
    std::optional<std::vector<LauncherPrefix>> launcherList;
    const auto launchers = [&]() -> const std::vector<LauncherPrefix>& {
        if (!launcherList) {
            launcherList = LauncherPrefixes(input.home);
        }
        return *launcherList;
    };
    const auto withWine = [&launchers](WinePrefix prefix, std::string how) {
        prefix.wine = FindWineBuild(
            prefix.folder, WineFromEnvironment() ? std::vector<LauncherPrefix>() : launchers());
        prefix.foundHow = std::move(how);
        return prefix;
    };

    PrefixSelection selection;
    const auto named = [&](const std::string& given, const std::string& how) {
        Result<WinePrefix> prefix = NamedPrefix(given, input.gameKey, how);
        if (prefix) {
            const std::string foundHow = prefix->foundHow;
            selection.prefix = withWine(std::move(prefix).value(), foundHow);
        } else {
            selection.refusal = prefix.error().Describe();
        }
        return selection;
    };
    if (!input.commandLinePrefix.empty()) {
        return named(input.commandLinePrefix, "given with --prefix");
    }
    if (!input.environmentPrefix.empty()) {
        return named(input.environmentPrefix, "from WINEPREFIX");
    }
    if (const auto remembered = Remembered(input.configHome)) {
        const std::string file = RememberedPrefixFile(input.configHome).string();
        if (!IsPrefixFolder(*remembered) ||
            access((*remembered / "system.reg").c_str(), R_OK) != 0) {
            // A card taken out or a disk not mounted: the choice stays. Only
            // a registry that can be read tells that the game is gone.
            selection.notes.push_back("The remembered prefix " + remembered->string() +
                                      " is not there now (a card or disk not mounted?). It stays "
                                      "remembered in " +
                                      file + "; this run works on another.");
        } else if (auto prefix = PrefixHoldingKey(*remembered, input.gameKey)) {
            selection.prefix = withWine(*prefix, "remembered in " + file);
            return selection;
        } else {
            std::error_code error;
            fs::remove(file, error);
            selection.notes.push_back("The remembered prefix " + remembered->string() +
                                      " no longer holds the game; it is forgotten.");
        }
    }

    std::vector<fs::path> launcherFolders;
    for (const LauncherPrefix& entry : launchers()) {
        launcherFolders.push_back(entry.folder);
    }
    for (WinePrefix& prefix : FindPrefixesWithKey(input.home, input.gameKey, launcherFolders)) {
        PrefixCandidate candidate;
        if (const LauncherPrefix* entry = LauncherOf(prefix.folder, launchers())) {
            candidate.launcher = entry->launcher;
            candidate.game = entry->game;
        }
        candidate.lastChange = LastChange(prefix.folder);
        candidate.prefix = withWine(std::move(prefix), "");
        selection.candidates.push_back(std::move(candidate));
    }
    if (selection.candidates.size() == 1) {
        selection.prefix = selection.candidates[0].prefix;
        selection.prefix->foundHow = "the only prefix that holds the game";
        if (const PrefixCandidate& only = selection.candidates[0]; !only.launcher.empty()) {
            selection.prefix->foundHow +=
                ", kept by " + only.launcher + (only.game.empty() ? "" : " for " + only.game);
        }
    } else if (selection.candidates.empty()) {
        selection.prefix =
            withWine(LoadPrefix(input.home / ".wine"), "Wine's default: no prefix holds the game");
        selection.prefix->searched = SearchedPlaces(input.home, launchers());
    }
    if (selection.prefix) {
        selection.prefix->notes = selection.notes;
    }
    return selection;
}

fs::path PrefixToReadFirst(const SelectionInput& input) {
    const std::string& named =
        input.commandLinePrefix.empty() ? input.environmentPrefix : input.commandLinePrefix;
    if (!named.empty()) {
        const Result<fs::path> folder = EnclosingPrefix(named);
        return folder ? *folder : fs::path();
    }
    return Remembered(input.configHome).value_or(input.home / ".wine");
}

std::string StartupLine(const std::string& programName, const WinePrefix& prefix) {
    return programName + ": prefix " + prefix.folder.string() + " (" + prefix.foundHow +
           "); wine " + (prefix.wine.program.empty() ? "wine" : prefix.wine.program) + " (" +
           prefix.wine.description + ")";
}

std::string GameNotFoundDetail(const WinePrefix& prefix) {
    const std::string home = CurrentSelectionInput({}, {}).home.string();
    std::string folder = prefix.folder.string();
    if (folder.starts_with(home + "/")) {
        folder = "~" + folder.substr(home.size());
    }
    std::string text;
    for (const std::string& note : prefix.notes) {
        text += note + "\n\n";
    }
    if (!prefix.searched.empty()) {
        text += "No Wine prefix holds the game. The programs looked in:";
        for (const std::string& place : prefix.searched) {
            text += "\n  " + place;
        }
    } else {
        text += "The game is not in the Wine prefix " + folder +
                (prefix.foundHow.empty() ? "" : " (" + prefix.foundHow + ")") + ".";
    }
    text +=
        "\n\nIf the game is installed in another prefix, choose that folder (the one that holds "
        "drive_c), or start the program with --prefix FOLDER. If it is not installed yet, "
        "install it with Wine or a game launcher first.";
    return text;
}

Result<WinePrefix> ChosenPrefix(const fs::path& folder, const std::string& gameKey) {
    const SelectionInput input = CurrentSelectionInput(gameKey, folder.string());
    Result<WinePrefix> prefix = NamedPrefix(folder, gameKey, "chosen in the message");
    if (!prefix) {
        return prefix.error();
    }
    WinePrefix chosen = std::move(prefix).value();
    chosen.wine =
        FindWineBuild(chosen.folder, WineFromEnvironment() ? std::vector<LauncherPrefix>()
                                                           : LauncherPrefixes(input.home));
    return chosen;
}

}  // namespace platform
