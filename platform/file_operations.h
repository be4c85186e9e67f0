#pragma once
// The steps of replacing a file, behind an interface so that a test can make
// any one of them fail.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace platform {

class FileOperations {
  public:
    virtual ~FileOperations() = default;

    using Handle = int;
    // Creates a new, uniquely named temporary file beside target, named after
    // it, with the target's permission bits (a new file's when there is none).
    virtual Result<Handle> CreateTemporary(const std::filesystem::path& target,
                                           std::filesystem::path& temporary) = 0;
    virtual Status Write(Handle handle, std::string_view bytes) = 0;
    virtual Status Flush(Handle handle) = 0;  // fsync
    virtual Status Close(Handle handle) = 0;
    virtual Status Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual void Remove(const std::filesystem::path& file) = 0;
};

// The real file system.
FileOperations& RealFileOperations();

// The start of the name of a temporary file that will replace target:
// ".<name>.r6tools-", hidden, and followed by six letters or digits.
std::string TemporaryNamePrefix(const std::filesystem::path& target);

}  // namespace platform
