#pragma once
// Fault injection for file replacement: real file operations of which any
// one step can be made to fail, and a child process that is killed at a
// random moment of its work.

#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_operations.h"

namespace testsupport {

// The real file system, with every step that can fail counted from 0; the
// step numbered failAt fails (none when it is negative). A failing write
// first writes half of its bytes, as a full disk does; a failing close still
// closes, as close(2) does.
class FaultInjectingOperations : public platform::FileOperations {
  public:
    explicit FaultInjectingOperations(int failAt = -1) : failAt_(failAt) {}

    int steps() const { return steps_; }
    bool failed() const { return failed_; }
    std::string failedStep() const { return failedStep_; }

    platform::Result<Handle> CreateTemporary(const std::filesystem::path& target,
                                             std::filesystem::path& temporary) override {
        if (Fails("create temporary")) {
            return Failure();
        }
        return real_.CreateTemporary(target, temporary);
    }
    platform::Status Write(Handle handle, std::string_view bytes) override {
        if (Fails("write")) {
            (void)real_.Write(handle, bytes.substr(0, bytes.size() / 2));
            return Failure();
        }
        return real_.Write(handle, bytes);
    }
    platform::Status Flush(Handle handle) override {
        return Fails("flush") ? Failure() : real_.Flush(handle);
    }
    platform::Status Close(Handle handle) override {
        const bool fails = Fails("close");
        const platform::Status closed = real_.Close(handle);
        return fails ? Failure() : closed;
    }
    platform::Status Rename(const std::filesystem::path& from,
                            const std::filesystem::path& to) override {
        return Fails("rename") ? Failure() : real_.Rename(from, to);
    }
    void Remove(const std::filesystem::path& file) override { real_.Remove(file); }

  private:
    bool Fails(const char* step) {
        if (steps_++ != failAt_) {
            return false;
        }
        failed_ = true;
        failedStep_ = step;
        return true;
    }
    static platform::Error Failure() { return {"", "No space left on device"}; }

    platform::FileOperations& real_ = platform::RealFileOperations();
    int failAt_;
    int steps_ = 0;
    bool failed_ = false;
    std::string failedStep_;
};

// Runs work in a child process and kills it (SIGKILL) after delay. True when
// the child had finished its work by then.
inline bool RunAndKill(const std::function<void()>& work, std::chrono::microseconds delay) {
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    if (child < 0) {
        return false;
    }
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(delay);
    timespec pause{static_cast<time_t>(seconds.count()),
                   static_cast<long>((delay - seconds).count() * 1000)};
    while (::nanosleep(&pause, &pause) != 0 && errno == EINTR) {
    }
    ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// How long work takes in a child process, fork and exit included: the span
// over which kill moments should spread.
inline std::chrono::microseconds TimeInChild(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    while (child > 0 && ::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

}  // namespace testsupport
