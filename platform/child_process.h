#pragma once
// Child processes: a program started and left to itself (the game, a
// document's viewer), or run to its end with its exit status and what it
// printed (Wine's reg tool, the modification's packages).
//
// Waiting never freezes a window: while a child runs to its end, the waiting
// thread calls the installed waiting operation every few milliseconds, and a
// window installs one that keeps it painting (platform/ui/busy_window.h).

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace platform {

struct ChildCommand {
    std::filesystem::path program;         // the executable file
    std::vector<std::string> arguments;    // as the program receives them, its name first
    std::vector<std::string> environment;  // "NAME=value" entries, the whole environment
    std::filesystem::path workingFolder;   // empty: ours
};

struct ChildExit {
    int exitCode = 0;       // the exit status; 128 + the signal's number when killed
    bool timedOut = false;  // it outlived the time limit and was killed
    std::string output;     // the last part of what it wrote to stdout and stderr
};

// Starts the program detached from us: it outlives us, has its own session,
// reads nothing from our standard input and is never our zombie. Fails when
// the program cannot be executed (with the reason) or the folder is missing.
Status StartDetached(const ChildCommand& command);

// Runs the program to its end, capturing its standard output and error
// together (the last 64 KiB are kept). The program gets a process group of
// its own: when it is still running after timeLimit, the whole group (the
// program and every program it started that stayed in it) is killed and it
// is reported with timedOut. Fails only when the program cannot be started.
// Only the program itself is waited for: helpers it leaves behind in a
// session of their own (a wineserver) may keep running.
Result<ChildExit> RunToEnd(const ChildCommand& command, std::chrono::milliseconds timeLimit);

// Runs the programs side by side, each as RunToEnd runs one, and waits for
// them all; a result for each, in the commands' order.
std::vector<Result<ChildExit>> RunAllToEnd(const std::vector<ChildCommand>& commands,
                                           std::chrono::milliseconds timeLimit);

// Called again and again on the waiting thread while RunToEnd waits.
using WaitingOperation = std::function<void()>;
// Installs an operation and returns the one it replaces.
WaitingOperation SetWaitingOperation(WaitingOperation operation);

// Finds a program as the shell does: a name with a slash is taken as it is,
// any other is looked up in $PATH. Nothing when no executable file is found.
std::optional<std::filesystem::path> FindExecutable(std::string_view program);

// The last lines of a program's output (at most count, empty lines and
// trailing blanks dropped), joined with line feeds.
std::string LastLines(std::string_view output, std::size_t count);

}  // namespace platform
