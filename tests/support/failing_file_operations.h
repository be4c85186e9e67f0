#pragma once

#include <cerrno>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/file_operations.h"

namespace testsupport {

// Fault injection for file replacement: the real file system with every step counted from 0;
// step failAt fails (none when negative). A failing write first writes half its bytes, as a full
// disk does; a failing close still closes, as close(2) does.
class FaultInjectingOperations : public platform::FileOperations {
  public:
    explicit FaultInjectingOperations(int failAt = -1) : failAt_(failAt) {}

    bool failed() const { return !failedStep_.empty(); }
    std::string failedStep() const { return failedStep_; }

    platform::Result<Handle> CreateTemporary(const std::filesystem::path& target,
                                             std::filesystem::path& temporary) override {
        return Fails("create temporary") ? Failure() : real_.CreateTemporary(target, temporary);
    }
    platform::Status Write(Handle handle, std::string_view bytes) override {
        const bool fails = Fails("write");
        const auto written = real_.Write(handle, fails ? bytes.substr(0, bytes.size() / 2) : bytes);
        return fails ? Failure() : written;
    }
    platform::Status Flush(Handle handle) override {
        return Fails("flush") ? Failure() : real_.Flush(handle);
    }
    platform::Status Close(Handle handle) override {
        const platform::Status closed = real_.Close(handle);
        return Fails("close") ? Failure() : closed;
    }
    platform::Status Rename(const std::filesystem::path& from,
                            const std::filesystem::path& to) override {
        return Fails("rename") ? Failure() : real_.Rename(from, to);
    }
    void Remove(const std::filesystem::path& file) override { real_.Remove(file); }

  private:
    bool Fails(const char* step) {
        const bool fails = steps_++ == failAt_;
        failedStep_ = fails ? step : failedStep_;
        return fails;
    }
    static platform::Error Failure() { return {"", "No space left on device", ENOSPC}; }

    platform::FileOperations& real_ = platform::RealFileOperations();
    int failAt_;
    int steps_ = 0;
    std::string failedStep_;
};

}  // namespace testsupport
