#include "platform/run_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <utility>
#include <vector>

#include "platform/user_folders.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

std::string TimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// Only the log's own kind of name: letters, digits, '.', '-' and '_'.
std::string FileNamePart(std::string_view what) {
    std::string part;
    for (const char c : what) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        part += plain ? c : '_';
    }
    return part;
}

void RemoveOldLogs(const fs::path& folder) {
    std::vector<fs::path> logs;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".log") {
            logs.push_back(entry.path());
        }
    }
    if (logs.size() <= kKeptRunLogs) {
        return;
    }
    std::ranges::sort(logs);  // the names begin with their date and time
    for (std::size_t i = 0; i + kKeptRunLogs < logs.size(); ++i) {
        fs::remove(logs[i], error);
    }
}

}  // namespace

fs::path RunLogFolder() {
    return XdgFolder("XDG_STATE_HOME", ".local/state") / "r6tools";
}

Result<RunLog> RunLog::Create(std::string_view what) {
    const fs::path folder = RunLogFolder();
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        return Error{folder.string(), error.message(), error.value()};
    }
    // "<date>-<time>-<two-digit number>-<what>.log": sorted by name, the
    // logs are in the order they were made, also within one second.
    const std::string stamp = TimeStamp();
    // After the last one made within this second (older ones may be gone).
    int number = 1;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(stamp + "-") && name.size() > stamp.size() + 3) {
            number = std::max(number, std::atoi(name.substr(stamp.size() + 1, 2).c_str()) + 1);
        }
    }
    for (; number <= 99; ++number) {
        const std::string start = stamp + (number < 10 ? "-0" : "-") + std::to_string(number) + "-";
        const fs::path file = folder / (start + FileNamePart(what) + ".log");
        const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
        if (fd >= 0) {
            RemoveOldLogs(folder);
            return RunLog(fd, file);
        }
        if (errno != EEXIST) {
            return SystemError(file.string(), errno);
        }
    }
    return Error{folder.string(), "too many logs made within one second"};
}

RunLog::RunLog(RunLog&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), file_(std::move(other.file_)) {}

RunLog& RunLog::operator=(RunLog&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
        file_ = std::move(other.file_);
    }
    return *this;
}

RunLog::~RunLog() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

void RunLog::Append(std::string_view text) const {
    while (!text.empty()) {
        const ssize_t written = write(fd_, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace platform
