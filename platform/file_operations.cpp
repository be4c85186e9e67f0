#include "platform/file_operations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace platform {
namespace {

mode_t CurrentUmask() {
    // umask() can only be read by setting it; the process is single-threaded
    // wherever this runs, and the old value goes straight back.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

std::string TemporaryNamePrefix(const fs::path& target) {
    // A marker no one would give a copy of their own: ".special.txt.backup"
    // is six letters too, and the next replacement removes what matches.
    return "." + target.filename().string() + ".r6tools-";
}

namespace {

class RealOperations : public FileOperations {
  public:
    Result<Handle> CreateTemporary(const fs::path& target, fs::path& temporary) override {
        // Hidden and beside the target, so the rename stays within one file system.
        const std::string pattern =
            (target.parent_path() / (TemporaryNamePrefix(target) + "XXXXXX")).string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0) {
            return SystemError(target.string(), errno);
        }
        temporary = fs::path(name.data());

        // The new file keeps the permission bits of the one it replaces; a new
        // file gets what any newly created file would.
        struct stat status {};
        const mode_t mode = ::stat(target.c_str(), &status) == 0 ? (status.st_mode & 07777)
                                                                 : (0666 & ~CurrentUmask());
        if (::fchmod(fd, mode) != 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(name.data());
            return SystemError(target.string(), error);
        }
        return fd;
    }

    Status Write(Handle handle, std::string_view bytes) override {
        while (!bytes.empty()) {
            const ssize_t written = ::write(handle, bytes.data(), bytes.size());
            if (written < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return SystemError("", errno);
            }
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return Status::Ok();
    }

    Status Flush(Handle handle) override {
        if (::fsync(handle) != 0) {
            return SystemError("", errno);
        }
        return Status::Ok();
    }

    Status Close(Handle handle) override {
        if (::close(handle) != 0) {
            return SystemError("", errno);
        }
        return Status::Ok();
    }

    Status Rename(const fs::path& from, const fs::path& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0) {
            return SystemError(to.string(), errno);
        }
        // Make the new name itself durable; a failure here loses nothing.
        const int folder = ::open(to.parent_path().empty() ? "." : to.parent_path().c_str(),
                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
        return Status::Ok();
    }

    void Remove(const fs::path& file) override { ::unlink(file.c_str()); }
};

}  // namespace

FileOperations& RealFileOperations() {
    static RealOperations operations;
    return operations;
}

}  // namespace platform
