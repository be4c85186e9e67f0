#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

#include "platform/child_exec_p.h"
#include "platform/process_environment.h"

namespace platform {

using child_detail::ExitCodeOf;
using child_detail::PreparedExec;
using child_detail::ReportAndExit;
using child_detail::ResetSignalsInChild;

namespace {

// How often the waiting operation runs while a child runs to its end: often
// enough that a window's painting never lags noticeably.
constexpr int kWaitSliceMilliseconds = 10;
constexpr std::size_t kKeptOutput = 64 * 1024;

WaitingOperation& InstalledWaitingOperation() {
    static WaitingOperation operation;
    return operation;
}

// A file for what a child prints: unnamed, so it disappears with its last
// descriptor. Not a pipe: a wineserver that the child starts inherits the
// descriptor and outlives the child, and it must never meet a pipe whose
// reader has gone (it would be killed by SIGPIPE in the middle of the next
// program's run).
int OpenOutputFile() {
    const std::string folder = TemporaryFilesFolder();
    int fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        std::string name = folder + "/child-output-XXXXXX";
        fd = mkostemp(name.data(), O_CLOEXEC);
        if (fd >= 0) {
            unlink(name.c_str());
        }
    }
    return fd;
}

// The last kKeptOutput bytes of what the child printed.
std::string LastOutput(int fd) {
    struct stat status {};
    if (fstat(fd, &status) != 0) {
        return {};
    }
    const off_t size = status.st_size;
    const off_t start = size > static_cast<off_t>(kKeptOutput) ? size - kKeptOutput : 0;
    std::string output(static_cast<std::size_t>(size - start), '\0');
    std::size_t done = 0;
    while (done < output.size()) {
        const ssize_t count =
            pread(fd, output.data() + done, output.size() - done, start + static_cast<off_t>(done));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        done += static_cast<std::size_t>(count);
    }
    output.resize(done);
    return output;
}

}  // namespace

WaitingOperation SetWaitingOperation(WaitingOperation operation) {
    return std::exchange(InstalledWaitingOperation(), std::move(operation));
}

// An intermediate child forks the program and exits at once, so the program
// is re-parented to init. A close-on-exec pipe tells whether the exec worked:
// it closes without data on success and carries errno otherwise.
Status StartDetached(const ChildCommand& command) {
    const PreparedExec exec(command);
    const auto& [arguments, environment, argv, envp, folder, programPath] = exec;

    int pipe[2];
    if (pipe2(pipe, O_CLOEXEC) != 0) {
        return Error{programPath, std::strerror(errno)};
    }
    const pid_t intermediate = fork();
    if (intermediate < 0) {
        const int error = errno;
        close(pipe[0]);
        close(pipe[1]);
        return Error{programPath, std::strerror(error)};
    }
    if (intermediate == 0) {
        close(pipe[0]);
        setsid();  // the program outlives us and our terminal
        const pid_t child = fork();
        if (child < 0) {
            ReportAndExit(pipe[1], errno);
        }
        if (child == 0) {
            const int devNull = open("/dev/null", O_RDONLY);
            if (devNull > 0) {
                dup2(devNull, 0);
                close(devNull);
            }
            if (!folder.empty() && chdir(folder.c_str()) != 0) {
                ReportAndExit(pipe[1], errno);
            }
            ResetSignalsInChild();
            // Our descriptors are none of the program's business.
            close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
            execve(programPath.c_str(), argv.data(), envp.data());
            ReportAndExit(pipe[1], errno);
        }
        _exit(0);
    }

    close(pipe[1]);
    int status = 0;
    while (waitpid(intermediate, &status, 0) < 0 && errno == EINTR) {
    }
    int childError = 0;
    ssize_t received = 0;
    do {
        received = read(pipe[0], &childError, sizeof childError);
    } while (received < 0 && errno == EINTR);
    close(pipe[0]);
    if (received == static_cast<ssize_t>(sizeof childError)) {
        return Error{programPath, std::strerror(childError)};
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return Error{programPath, "the program could not be started"};
    }
    return Status::Ok();
}

namespace {

// A child started by RunAllToEnd, writing into its output file.
struct RunningChild {
    std::string programPath;
    pid_t pid = 0;
    int output = -1;
    bool ended = false;
    int status = 0;
    bool timedOut = false;
    int waitError = 0;  // errno of a failed wait
    std::optional<Error> notStarted;
};

RunningChild SpawnWithOutputFile(const ChildCommand& command) {
    const PreparedExec exec(command);
    const auto& [arguments, environment, argv, envp, folder, programPath] = exec;

    RunningChild child;
    child.programPath = programPath;
    child.output = OpenOutputFile();
    if (child.output < 0) {
        child.notStarted = SystemError(programPath, errno);
        return child;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, child.output, 1);
    posix_spawn_file_actions_adddup2(&actions, child.output, 2);
    if (!command.workingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, command.workingFolder.c_str());
    }
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &pipeSignal);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

    const int spawnError = posix_spawn(&child.pid, programPath.c_str(), &actions, &attributes,
                                       argv.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0) {
        close(child.output);
        child.notStarted = Error{programPath, std::strerror(spawnError)};
    }
    return child;
}

}  // namespace

std::vector<Result<ChildExit>> RunAllToEnd(const std::vector<ChildCommand>& commands,
                                           std::chrono::milliseconds timeLimit) {
    std::vector<RunningChild> children;
    children.reserve(commands.size());
    for (const ChildCommand& command : commands) {
        children.push_back(SpawnWithOutputFile(command));
    }
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    for (;;) {
        poll(nullptr, 0, kWaitSliceMilliseconds);
        bool running = false;
        for (RunningChild& child : children) {
            if (child.notStarted || child.ended) {
                continue;
            }
            const pid_t done = waitpid(child.pid, &child.status, WNOHANG);
            if (done == child.pid) {
                child.ended = true;
            } else if (done < 0 && errno != EINTR) {
                child.ended = true;
                child.waitError = errno;
            } else if (std::chrono::steady_clock::now() >= deadline) {
                kill(-child.pid, SIGKILL);
                kill(child.pid, SIGKILL);
                while (waitpid(child.pid, &child.status, 0) < 0 && errno == EINTR) {
                }
                child.ended = child.timedOut = true;
            } else {
                running = true;
            }
        }
        if (!running) {
            break;
        }
        if (const WaitingOperation& waiting = InstalledWaitingOperation()) {
            waiting();
        }
    }

    std::vector<Result<ChildExit>> results;
    for (RunningChild& child : children) {
        if (child.notStarted) {
            results.push_back(*child.notStarted);
            continue;
        }
        if (child.waitError != 0) {
            close(child.output);
            results.push_back(SystemError(child.programPath, child.waitError));
            continue;
        }
        ChildExit result;
        // Helpers it left behind may still write to the file: what is there
        // now is what the child printed.
        result.output = LastOutput(child.output);
        close(child.output);
        result.exitCode = ExitCodeOf(child.status);
        result.timedOut = child.timedOut;
        results.push_back(std::move(result));
    }
    return results;
}

Result<ChildExit> RunToEnd(const ChildCommand& command, std::chrono::milliseconds timeLimit) {
    return std::move(RunAllToEnd({command}, timeLimit).front());
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

std::string LastLines(std::string_view output, std::size_t count) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string_view::npos) {
            end = output.size();
        }
        std::string_view line = output.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.remove_suffix(1);
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
        start = end + 1;
    }
    std::string joined;
    for (std::size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i) {
        joined += lines[i];
        joined += i + 1 < lines.size() ? "\n" : "";
    }
    return joined;
}

}  // namespace platform
