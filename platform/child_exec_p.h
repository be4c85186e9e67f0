#pragma once
// What starting a child needs on both sides of fork: the exec prepared
// before it, and the few calls the child makes before exec. Shared by the
// ways a child is started (child_process.cpp, watched_start.cpp).

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/child_process.h"
#include "platform/process_environment.h"

namespace platform::child_detail {

// Only async-signal-safe calls may run between fork and exec: everything
// is prepared before the fork.
[[noreturn]] inline void ReportAndExit(int pipe, int error) {
    ssize_t ignored = write(pipe, &error, sizeof error);
    (void)ignored;
    _exit(127);
}

// What exec needs, made before the fork: between fork and exec nothing may
// allocate. Pointers point into the strings held here, so it stays in place.
struct PreparedExec {
    explicit PreparedExec(const ChildCommand& command)
        : arguments(command.arguments),
          environment(command.environment),
          argv(NullTerminatedPointers(arguments)),
          envp(NullTerminatedPointers(environment)),
          folder(command.workingFolder.string()),
          programPath(command.program.string()) {}
    PreparedExec(const PreparedExec&) = delete;
    PreparedExec& operator=(const PreparedExec&) = delete;

    std::vector<std::string> arguments;
    std::vector<std::string> environment;
    std::vector<char*> argv;
    std::vector<char*> envp;
    std::string folder;
    std::string programPath;
};

inline void ResetSignalsInChild() {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigaction(SIGPIPE, &defaultAction, nullptr);
}

// The exit status, or 128 + the signal's number when it was killed.
inline int ExitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace platform::child_detail
