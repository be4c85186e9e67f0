#include "wine_test_prefix.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/child_process.h"
#include "platform/process_environment.h"

namespace winetest {
namespace {

namespace fs = std::filesystem;

constexpr auto kRunTimeout = std::chrono::seconds(300);

std::string ReadAll(const fs::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    return content.str();
}

RunResult RunWithPrefix(const fs::path& prefix, const std::vector<std::string>& arguments,
                        const fs::path& outputFile) {
    RunResult result;
    const auto program = platform::FindExecutable(arguments.at(0));
    if (!program) {
        return result;
    }
    std::vector<std::string> environment =
        platform::EnvironmentWith({"WINEPREFIX=" + prefix.string(), "WINEDEBUG=-all"});
    std::vector<std::string> argumentCopy = arguments;
    std::vector<char*> argv = platform::NullTerminatedPointers(argumentCopy);
    std::vector<char*> envp = platform::NullTerminatedPointers(environment);

    // Output goes to a file, not a pipe: wine leaves its server and services
    // running, and they would hold a pipe open long after the program ended.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error =
        posix_spawn(&pid, program->c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return result;
    }
    const auto deadline = std::chrono::steady_clock::now() + kRunTimeout;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.output = ReadAll(outputFile);
    fs::remove(outputFile);
    return result;
}

std::string WineVersion(const fs::path& workDir) {
    return RunWithPrefix(workDir / "no-prefix", {"wine", "--version"}, workDir / "version.out")
        .output;
}

// Boots the shared prefix once; later calls find it ready.
bool EnsureTemplate(const fs::path& workDir, std::string& why) {
    fs::create_directories(workDir);
    const int lock = open((workDir / "template.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lock < 0 || flock(lock, LOCK_EX) != 0) {
        why = "cannot lock " + (workDir / "template.lock").string();
        return false;
    }
    const fs::path templateFolder = workDir / "template";
    const fs::path marker = templateFolder / ".lw-ready";
    const std::string version = WineVersion(workDir);
    bool ready = !version.empty() && ReadAll(marker) == version;
    if (!ready && !version.empty()) {
        fs::remove_all(templateFolder);
        fs::create_directories(templateFolder);
        const auto boot = RunWithPrefix(templateFolder, {"wineboot", "-i"}, workDir / "boot.out");
        RunWithPrefix(templateFolder, {"wineserver", "-w"}, workDir / "wait.out");
        ready = boot.exitCode == 0 && fs::exists(templateFolder / "system.reg");
        if (ready) {
            std::ofstream(marker) << version;
        } else {
            why = "wineboot -i failed";
        }
    } else if (version.empty()) {
        why = "wine is not installed";
    }
    flock(lock, LOCK_UN);
    close(lock);
    return ready;
}

}  // namespace

WineTestPrefix::WineTestPrefix() {
    const fs::path workDir = LW_WINE_WORK_DIR;
    if (!platform::FindExecutable("wine") || !platform::FindExecutable("wineserver") ||
        !platform::FindExecutable("wineboot")) {
        why_ = "wine, wineserver or wineboot is not installed";
        return;
    }
    if (!EnsureTemplate(workDir, why_)) {
        return;
    }
    std::string name = (workDir / "test-XXXXXX").string();
    if (mkdtemp(name.data()) == nullptr) {
        why_ = "cannot create a folder in " + workDir.string();
        return;
    }
    folder_ = name;
    std::error_code error;
    fs::copy(workDir / "template", folder_,
             fs::copy_options::recursive | fs::copy_options::copy_symlinks |
                 fs::copy_options::create_hard_links,
             error);
    if (error) {
        // Another file system: a plain copy then.
        fs::remove_all(folder_);
        fs::create_directory(folder_);
        fs::copy(workDir / "template", folder_,
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    }
    if (error) {
        why_ = "cannot copy the booted prefix: " + error.message();
        return;
    }
    // Our own registry files and no pointer to the template's server folder.
    fs::remove(folder_ / "wineserver");
    for (const char* file : {"system.reg", "user.reg", "userdef.reg"}) {
        if (fs::exists(folder_ / file)) {
            fs::remove(folder_ / file);
            fs::copy_file(workDir / "template" / file, folder_ / file);
        }
    }
    available_ = true;
}

WineTestPrefix::~WineTestPrefix() {
    if (!folder_.empty()) {
        if (available_) {
            StopServer();
            // Debian's Wine made a server folder for this prefix in /tmp.
            const std::string serverFolder = ReadAll(folder_ / "wineserver");
            if (serverFolder.starts_with("wine-") && serverFolder.find('/') == std::string::npos) {
                std::error_code error;
                fs::remove_all(fs::path("/tmp") / serverFolder, error);
            }
        }
        std::error_code error;
        fs::remove_all(folder_, error);
    }
}

platform::WinePrefix WineTestPrefix::prefix() const {
    return platform::LoadPrefix(folder_);
}

RunResult WineTestPrefix::Run(const std::vector<std::string>& arguments) const {
    return RunWithPrefix(folder_, arguments, folder_.string() + ".out");
}

void WineTestPrefix::WaitForServerExit() const {
    Run({"wineserver", "-w"});
}

void WineTestPrefix::StopServer() const {
    Run({"wineserver", "-k"});
    Run({"wineserver", "-w"});
}

fs::path WineTestPrefix::InstallStandInPackage(const std::string& windowsPath) const {
    const fs::path standIn = LW_STANDIN_PACKAGE;
    if (standIn.empty()) {
        return {};
    }
    // "C:\a\b.exe" -> drive_c/a/b.exe
    std::string relative = windowsPath.substr(3);
    for (char& c : relative) {
        if (c == '\\') {
            c = '/';
        }
    }
    const fs::path target = folder_ / "drive_c" / relative;
    fs::create_directories(target.parent_path());
    fs::copy_file(standIn, target, fs::copy_options::overwrite_existing);
    return target.parent_path() / "standin_package.log";
}

std::string WineTestPrefix::WaitForLine(const fs::path& file, int seconds) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string content = ReadAll(file);
        if (!content.empty() && content.back() == '\n') {
            return content;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return ReadAll(file);
}

}  // namespace winetest
