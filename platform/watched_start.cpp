#include "platform/watched_start.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

#include "platform/child_exec_p.h"

namespace platform {

using child_detail::ExitCodeOf;
using child_detail::PreparedExec;
using child_detail::ResetSignalsInChild;

namespace {

// What the watching process and the program tell through the pipe.
enum Report : int { kExecFailed = 1, kEndedWithin = 2, kOutlivedWatch = 3 };

void SendReport(int pipe, int kind, int value) {
    const int message[2] = {kind, value};
    ssize_t ignored = write(pipe, message, sizeof message);
    (void)ignored;
}

long MonotonicMilliseconds() {
    struct timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000L + now.tv_nsec / 1000000L;
}

}  // namespace

// The intermediate child starts a session, forks the program and watches it
// for the watch time, then reports and exits: the program is then
// re-parented to init, as with StartDetached. Everything between fork and
// exec is async-signal-safe.
Result<std::unique_ptr<WatchedStart>> StartWatched(const ChildCommand& command, int outputFile,
                                                   std::chrono::milliseconds watchTime) {
    const PreparedExec exec(command);
    const auto& [arguments, environment, argv, envp, folder, programPath] = exec;
    const long watch = static_cast<long>(watchTime.count());

    int pipe[2];
    if (pipe2(pipe, O_CLOEXEC) != 0) {
        return SystemError(programPath, errno);
    }
    const pid_t intermediate = fork();
    if (intermediate < 0) {
        const int error = errno;
        close(pipe[0]);
        close(pipe[1]);
        return SystemError(programPath, error);
    }
    if (intermediate == 0) {
        close(pipe[0]);
        setsid();
        const pid_t child = fork();
        if (child < 0) {
            SendReport(pipe[1], kExecFailed, errno);
            _exit(0);
        }
        if (child == 0) {
            const int devNull = open("/dev/null", O_RDONLY);
            if (devNull > 0) {
                dup2(devNull, 0);
                close(devNull);
            }
            dup2(outputFile, 1);
            dup2(outputFile, 2);
            if (!folder.empty() && chdir(folder.c_str()) != 0) {
                SendReport(pipe[1], kExecFailed, errno);
                _exit(127);
            }
            ResetSignalsInChild();
            close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
            execve(programPath.c_str(), argv.data(), envp.data());
            SendReport(pipe[1], kExecFailed, errno);
            _exit(127);
        }
        const long deadline = MonotonicMilliseconds() + watch;
        int status = 0;
        while (MonotonicMilliseconds() < deadline) {
            if (waitpid(child, &status, WNOHANG) == child) {
                SendReport(pipe[1], kEndedWithin, ExitCodeOf(status));
                _exit(0);
            }
            const struct timespec slice { 0, 20 * 1000 * 1000 };
            nanosleep(&slice, nullptr);
        }
        SendReport(pipe[1], kOutlivedWatch, 0);
        _exit(0);
    }
    close(pipe[1]);
    fcntl(pipe[0], F_SETFL, O_NONBLOCK);
    return std::make_unique<WatchedStart>(pipe[0], intermediate);
}

WatchedStart::~WatchedStart() {
    if (pipe_ >= 0) {
        close(pipe_);
    }
    if (intermediate_ > 0) {
        // It ends within its watch; should it still be watching, it stays
        // a zombie until we end rather than keep the caller waiting.
        waitpid(intermediate_, nullptr, WNOHANG);
    }
}

WatchedStart::State WatchedStart::Poll() {
    if (state_ != State::Watching) {
        return state_;
    }
    char buffer[64];
    for (;;) {
        const ssize_t count = read(pipe_, buffer, sizeof buffer);
        if (count > 0) {
            received_.append(buffer, static_cast<std::size_t>(count));
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return state_;  // nothing more yet
        }
        break;  // the watch is over: every report has come
    }
    close(std::exchange(pipe_, -1));
    while (waitpid(std::exchange(intermediate_, -1), nullptr, 0) < 0 && errno == EINTR) {
    }
    state_ = State::Running;
    for (std::size_t at = 0; at + 2 * sizeof(int) <= received_.size(); at += 2 * sizeof(int)) {
        int message[2];
        std::memcpy(message, received_.data() + at, sizeof message);
        if (message[0] == kExecFailed) {
            whyNotStarted_ = std::strerror(message[1]);
            state_ = State::NotStarted;
            break;
        }
        if (message[0] == kEndedWithin) {
            exitCode_ = message[1];
            state_ = State::Ended;
        }
    }
    return state_;
}

}  // namespace platform
