#pragma once
// A program started detached, whose first moments are watched from another
// process: the game, so that a start that fails at once is told, while the
// window's thread never waits for it.

#include <chrono>
#include <memory>
#include <string>

#include "platform/child_process.h"
#include "platform/result.h"

namespace platform {

// A program started detached (as StartDetached), whose first moments are
// watched from another process so that the caller's thread never waits:
// Poll tells whether it ended within the watch, and how.
class WatchedStart {
  public:
    enum class State { Watching, Running, Ended, NotStarted };
    WatchedStart(int pipe, int intermediate) : pipe_(pipe), intermediate_(intermediate) {}
    WatchedStart(const WatchedStart&) = delete;
    WatchedStart& operator=(const WatchedStart&) = delete;
    ~WatchedStart();

    // Never blocks. Watching until the watch is over; then Running (it
    // outlived the watch), Ended (exitCode) or NotStarted (why).
    State Poll();
    int exitCode() const { return exitCode_; }
    const std::string& whyNotStarted() const { return whyNotStarted_; }

  private:
    int pipe_ = -1;
    int intermediate_ = -1;
    std::string received_;
    State state_ = State::Watching;
    int exitCode_ = 0;
    std::string whyNotStarted_;
};

// Starts the program detached with its standard output and error going to
// outputFile (an open descriptor) and watches it for watchTime. Fails when a
// process cannot be made; a program that cannot be executed shows in Poll.
Result<std::unique_ptr<WatchedStart>> StartWatched(const ChildCommand& command, int outputFile,
                                                   std::chrono::milliseconds watchTime);

}  // namespace platform
