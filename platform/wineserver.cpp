#include "platform/wineserver.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/codepage.h"
#include "platform/process_environment.h"

namespace platform {
namespace {

// reg finishes in well under a second with a running server; this only
// guards against a wine that hangs.
constexpr auto kRegTimeout = std::chrono::seconds(120);

bool IsWriteLocked(const std::filesystem::path& lockFile) {
    const int fd = open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    const bool locked = fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    close(fd);
    return locked;
}

std::string ServerFolderName(const std::filesystem::path& prefixFolder) {
    struct stat status {};
    if (stat(prefixFolder.c_str(), &status) != 0) {
        return {};
    }
    char name[64];
    std::snprintf(name, sizeof name, "server-%llx-%llx",
                  static_cast<unsigned long long>(status.st_dev),
                  static_cast<unsigned long long>(status.st_ino));
    return name;
}

std::string ErrnoText(int error) {
    return std::strerror(error);
}

}  // namespace

std::vector<std::filesystem::path> WineserverLockFiles(const std::filesystem::path& prefixFolder) {
    const std::string serverFolder = ServerFolderName(prefixFolder);
    if (serverFolder.empty()) {
        return {};
    }
    std::vector<std::filesystem::path> locks;
    locks.push_back(std::filesystem::path("/tmp") / (".wine-" + std::to_string(getuid())) /
                    serverFolder / "lock");

    std::ifstream pointer(prefixFolder / "wineserver", std::ios::binary);
    std::string name;
    std::getline(pointer, name, '\0');
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r' || name.back() == ' ')) {
        name.pop_back();
    }
    if (!name.empty()) {
        const std::filesystem::path named(name);
        if (named.is_absolute()) {
            locks.push_back(named / serverFolder / "lock");
        } else if (named.has_filename() && named.filename() == named && name != "..") {
            if (const char* tmp = std::getenv("TMPDIR"); tmp != nullptr && *tmp == '/') {
                locks.push_back(std::filesystem::path(tmp) / named / serverFolder / "lock");
            }
            locks.push_back(std::filesystem::path("/tmp") / named / serverFolder / "lock");
        }
    }
    return locks;
}

bool IsWineserverRunning(const std::filesystem::path& prefixFolder) {
    for (const auto& lock : WineserverLockFiles(prefixFolder)) {
        if (IsWriteLocked(lock)) {
            return true;
        }
    }
    return false;
}

std::string WineProgram() {
    const char* wine = std::getenv("WINE");
    return wine != nullptr && *wine != '\0' ? wine : "wine";
}

std::optional<std::filesystem::path> FindExecutable(std::string_view program) {
    const auto executable = [](const std::filesystem::path& file) {
        std::error_code error;
        return std::filesystem::is_regular_file(file, error) && access(file.c_str(), X_OK) == 0;
    };
    if (program.empty()) {
        return std::nullopt;
    }
    if (program.find('/') != std::string_view::npos) {
        const std::filesystem::path file(program);
        return executable(file) ? std::optional(file) : std::nullopt;
    }
    const char* path = std::getenv("PATH");
    const std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        std::size_t end = folders.find(':', start);
        if (end == std::string_view::npos) {
            end = folders.size();
        }
        const std::string_view folder = folders.substr(start, end - start);
        const std::filesystem::path file =
            std::filesystem::path(folder.empty() ? "." : std::string(folder)) / program;
        if (executable(file)) {
            return file;
        }
        start = end + 1;
    }
    return std::nullopt;
}

std::vector<std::string> EnvironmentWithPrefix(const WinePrefix& prefix) {
    return EnvironmentWith({"WINEPREFIX=" + prefix.folder.string()});
}

Result<int> RunWine(const WinePrefix& prefix, const std::vector<std::string>& arguments,
                    const std::string& what) {
    const std::string wine = WineProgram();
    const auto program = FindExecutable(wine);
    if (!program) {
        return Error{what, "the program \"" + wine + "\" was not found; install Wine"};
    }
    std::vector<std::string> command = {wine};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment =
        EnvironmentWith({"WINEPREFIX=" + prefix.folder.string(), "WINEDEBUG=-all"});
    std::vector<char*> argv = NullTerminatedPointers(command);
    std::vector<char*> envp = NullTerminatedPointers(environment);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawnError =
        posix_spawn(&pid, program->c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0) {
        return Error{what, "could not start " + program->string() + ": " + ErrnoText(spawnError)};
    }

    const auto deadline = std::chrono::steady_clock::now() + kRegTimeout;
    int status = 0;
    while (true) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            break;
        }
        if (done < 0 && errno != EINTR) {
            return Error{what, ErrnoText(errno)};
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return Error{what, "wine did not finish in time"};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

Result<std::optional<std::string>> WineRegExport(const WinePrefix& prefix, std::string_view key) {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = (tmp != nullptr && *tmp == '/' ? std::string(tmp) : std::string("/tmp")) +
                         "/wine-reg-export-XXXXXX";
    if (mkdtemp(folder.data()) == nullptr) {
        return Error{folder, ErrnoText(errno)};
    }
    const std::filesystem::path file = std::filesystem::path(folder) / "key.reg";
    // reg takes a Windows path; \\?\unix\ names a Unix path whatever drives
    // the prefix has.
    std::string windowsFile = "\\\\?\\unix" + file.string();
    std::replace(windowsFile.begin(), windowsFile.end(), '/', '\\');
    std::vector<std::string> arguments = {"reg", "export", "HKLM\\" + Cp1252ToUtf8(key),
                                          windowsFile, "/y"};
    if (prefix.win64) {
        arguments.push_back("/reg:32");
    }
    const Result<int> exitStatus = RunWine(prefix, arguments, "wine reg export");
    std::ifstream stream(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    stream.close();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    if (!exitStatus) {
        return exitStatus.error();
    }
    if (*exitStatus == 1) {
        return std::optional<std::string>();  // reg: "Unable to find the specified registry key"
    }
    if (*exitStatus != 0 || bytes.empty()) {
        return Error{"wine reg export", "wine's reg could not read the key (exit status " +
                                            std::to_string(*exitStatus) + ")"};
    }
    return std::optional<std::string>(std::move(bytes));
}

Status WineRegAddString(const WinePrefix& prefix, std::string_view key, std::string_view name,
                        std::string_view text) {
    std::vector<std::string> arguments = {
        "reg",    "add", "HKLM\\" + Cp1252ToUtf8(key), "/v", Cp1252ToUtf8(name), "/t",
        "REG_SZ", "/d",  Cp1252ToUtf8(text),           "/f"};
    if (prefix.win64) {
        arguments.push_back("/reg:32");
    }
    const Result<int> exitStatus = RunWine(prefix, arguments, "wine reg add");
    if (!exitStatus) {
        return exitStatus.error();
    }
    if (*exitStatus != 0) {
        return Error{"wine reg add", "wine's reg could not set the value (exit status " +
                                         std::to_string(*exitStatus) + ")"};
    }
    return Status::Ok();
}

}  // namespace platform
