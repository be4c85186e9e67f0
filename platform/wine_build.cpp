#include "platform/wine_build.h"

#include <unistd.h>

#include <chrono>
#include <system_error>

#include "platform/child_process.h"
#include "platform/process_environment.h"
#include "platform/wineserver.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

bool IsExecutableFile(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error) && access(file.c_str(), X_OK) == 0;
}

// Runs "<wine> --version" (it starts no wineserver) and tells whether it
// worked: a Flatpak build linked against the sandbox's libraries fails here.
bool StartsHere(const fs::path& wine) {
    ChildCommand command;
    command.program = wine;
    command.arguments = {wine.string(), "--version"};
    command.environment = EnvironmentWith({});
    const Result<ChildExit> ran = RunToEnd(command, std::chrono::seconds(10));
    return ran && !ran->timedOut && ran->exitCode == 0;
}

std::string BuildText(const LauncherPrefix& entry) {
    const bool plural = entry.launcher.ends_with('s');  // "Bottles' build"
    return entry.launcher + (plural ? "' build " : "'s build ") +
           (entry.buildName.empty() ? entry.wine.string() : entry.buildName);
}

}  // namespace

const LauncherPrefix* LauncherOf(const fs::path& prefixFolder,
                                 const std::vector<LauncherPrefix>& launcherPrefixes) {
    for (const LauncherPrefix& entry : launcherPrefixes) {
        std::error_code error;
        if (entry.folder == prefixFolder || fs::equivalent(entry.folder, prefixFolder, error)) {
            return &entry;
        }
    }
    return nullptr;
}

WineBuild FindWineBuild(const fs::path& prefixFolder,
                        const std::vector<LauncherPrefix>& launcherPrefixes) {
    if (const char* wine = std::getenv("WINE"); wine != nullptr && *wine != '\0') {
        return {wine, "from WINE", {}};
    }
    std::string whyNot;
    bool unusable = false;
    if (const LauncherPrefix* entry = LauncherOf(prefixFolder, launcherPrefixes)) {
        unusable = true;
        if (entry->systemWine) {
            whyNot = entry->launcher + " runs it with the system's Wine (" + entry->buildName + ")";
            unusable = false;
        } else if (entry->wine.empty() && entry->buildName.empty()) {
            whyNot = entry->launcher + " names no Wine build for it";
            unusable = false;
        } else if (entry->wine.empty()) {
            whyNot = BuildText(*entry) + " is not installed";
        } else if (!IsExecutableFile(entry->wine)) {
            whyNot = BuildText(*entry) + " is not at " + entry->wine.string();
        } else if (entry->sandboxed && !StartsHere(entry->wine)) {
            whyNot = BuildText(*entry) + " (" + entry->wine.string() +
                     ") cannot be started outside its Flatpak sandbox";
        } else {
            return {entry->wine.string(), BuildText(*entry), {}};
        }
    }
    const auto onPath = FindExecutable("wine");
    std::string description = onPath ? "wine on the PATH, " + onPath->string()
                                     : "wine on the PATH, which is not there: install Wine";
    if (!whyNot.empty()) {
        description += "; " + whyNot;
    }
    return {"wine", description, unusable ? whyNot : std::string()};
}

std::string WineserverProgram(const WinePrefix& prefix) {
    const fs::path wine(prefix.wine.program);
    if (wine.has_parent_path() && IsExecutableFile(wine.parent_path() / "wineserver")) {
        return (wine.parent_path() / "wineserver").string();
    }
    return "wineserver";
}

std::vector<std::string> WineVariables(const WinePrefix& prefix) {
    std::vector<std::string> variables = {"WINEPREFIX=" + prefix.folder.string()};
    if (const std::string server = WineserverProgram(prefix); server != "wineserver") {
        variables.push_back("WINESERVER=" + server);
    }
    return variables;
}

}  // namespace platform
