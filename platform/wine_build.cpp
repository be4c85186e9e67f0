#include "platform/wine_build.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <system_error>
#include <thread>

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
    std::vector<std::string> arguments = {wine.string(), "--version"};
    std::vector<char*> argv = NullTerminatedPointers(arguments);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd : {0, 1, 2}) {
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY,
                                         0);
    }
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
        return {wine, "from WINE"};
    }
    std::string whyNot;
    if (const LauncherPrefix* entry = LauncherOf(prefixFolder, launcherPrefixes)) {
        if (entry->systemWine) {
            whyNot = entry->launcher + " runs it with the system's Wine (" + entry->buildName + ")";
        } else if (entry->wine.empty()) {
            whyNot = entry->launcher + " names no Wine build for it";
        } else if (!IsExecutableFile(entry->wine)) {
            whyNot = BuildText(*entry) + " is not at " + entry->wine.string();
        } else if (entry->sandboxed && !StartsHere(entry->wine)) {
            whyNot = BuildText(*entry) + " (" + entry->wine.string() +
                     ") cannot be started outside its Flatpak sandbox";
        } else {
            return {entry->wine.string(), BuildText(*entry)};
        }
    }
    const auto onPath = FindExecutable("wine");
    std::string description = onPath ? "wine on the PATH, " + onPath->string()
                                     : "wine on the PATH, which is not there: install Wine";
    if (!whyNot.empty()) {
        description += "; " + whyNot;
    }
    return {"wine", description};
}

std::vector<std::string> WineVariables(const WinePrefix& prefix) {
    std::vector<std::string> variables = {"WINEPREFIX=" + prefix.folder.string()};
    const fs::path wine(prefix.wine.program);
    if (wine.has_parent_path() && IsExecutableFile(wine.parent_path() / "wineserver")) {
        variables.push_back("WINESERVER=" + (wine.parent_path() / "wineserver").string());
    }
    return variables;
}

}  // namespace platform
