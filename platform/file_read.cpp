#include "platform/file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace fs = std::filesystem;

namespace platform {
namespace {

// An open regular file, closed on every way out.
class RegularFile {
  public:
    explicit RegularFile(const fs::path& file) : name_(file) {
        // O_NONBLOCK: open() of a FIFO would wait for a writer.
        descriptor_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (descriptor_ < 0) {
            error_ = errno;
        } else if (::fstat(descriptor_, &status_) != 0) {
            error_ = errno;
        } else if (S_ISDIR(status_.st_mode)) {
            error_ = EISDIR;
        } else if (!S_ISREG(status_.st_mode)) {
            error_ = EINVAL;
        }
    }
    ~RegularFile() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool ok() const { return error_ == 0; }
    Error error() const {
        return error_ == EINVAL ? Error{name_.string(), "not a regular file", EINVAL}
                                : SystemError(name_.string(), error_);
    }
    std::uint64_t length() const { return static_cast<std::uint64_t>(status_.st_size); }

    Result<std::string> ReadPart(std::uint64_t offset, std::size_t length) {
        std::string bytes(length, '\0');
        std::size_t done = 0;
        while (done < length) {
            const ssize_t count = ::pread(descriptor_, bytes.data() + done, length - done,
                                          static_cast<off_t>(offset + done));
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0) {
                return SystemError(name_.string(), errno);
            }
            if (count == 0) {
                break;
            }
            done += static_cast<std::size_t>(count);
        }
        bytes.resize(done);
        return bytes;
    }

    Result<std::string> ReadAll(std::uint64_t limit) {
        // The length is checked as the bytes come: files under /proc say 0.
        const auto tooLong = [&] { return Error{name_.string(), "the file is too long", EFBIG}; };
        if (length() > limit) {
            return tooLong();
        }
        std::string bytes;
        bytes.reserve(length());
        char buffer[65536];
        for (;;) {
            const ssize_t count = ::read(descriptor_, buffer, sizeof buffer);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count < 0) {
                return SystemError(name_.string(), errno);
            }
            if (count == 0) {
                return bytes;
            }
            if (bytes.size() + static_cast<std::uint64_t>(count) > limit) {
                return tooLong();
            }
            bytes.append(buffer, static_cast<std::size_t>(count));
        }
    }

  private:
    fs::path name_;
    int descriptor_ = -1;
    int error_ = 0;
    struct stat status_ {};
};

}  // namespace

Result<std::string> ReadWholeFile(const fs::path& file, std::uint64_t limit) {
    RegularFile open(file);
    if (!open.ok()) {
        return open.error();
    }
    return open.ReadAll(limit);
}

Result<std::string> ReadFilePart(const fs::path& file, std::uint64_t offset, std::size_t length) {
    RegularFile open(file);
    if (!open.ok()) {
        return open.error();
    }
    return open.ReadPart(offset, length);
}

Result<std::uint64_t> RegularFileLength(const fs::path& file) {
    const RegularFile open(file);
    if (!open.ok()) {
        return open.error();
    }
    return open.length();
}

}  // namespace platform
