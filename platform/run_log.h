#pragma once
// The log of what Wine and the programs it runs print: one file per run (an
// install, an uninstall, a start of the game) in
// ${XDG_STATE_HOME:-~/.local/state}/r6tools/, of which only the last few are
// kept. Wine's output never goes to our own standard error, where a player
// who started us from the desktop would never see it.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace platform {

// How many run logs are kept; older ones are removed as a new one is made.
inline constexpr std::size_t kKeptRunLogs = 10;

// ${XDG_STATE_HOME}/r6tools when XDG_STATE_HOME is an absolute path, else
// ~/.local/state/r6tools.
std::filesystem::path RunLogFolder();

class RunLog {
  public:
    // Makes a new log "<date>-<time>-<number>-<what>.log" (the folder too,
    // when missing) and removes the oldest beyond kKeptRunLogs.
    static Result<RunLog> Create(std::string_view what);

    RunLog(RunLog&& other) noexcept;
    RunLog& operator=(RunLog&& other) noexcept;
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;
    ~RunLog();

    const std::filesystem::path& file() const { return file_; }
    // The open file, appending; a child's output can be sent to it.
    int descriptor() const { return fd_; }
    void Append(std::string_view text) const;

  private:
    RunLog(int fd, std::filesystem::path file) : fd_(fd), file_(std::move(file)) {}
    int fd_ = -1;
    std::filesystem::path file_;
};

}  // namespace platform
