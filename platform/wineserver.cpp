#include "platform/wineserver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "platform/file_read.h"

namespace platform {
namespace {

bool IsWriteLocked(const std::filesystem::path& lockFile) {
    const int fd = open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    const bool locked = fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
    close(fd);
    return locked;
}

std::string ServerFolderName(const std::filesystem::path& prefixFolder) {
    struct stat status {};
    if (stat(prefixFolder.c_str(), &status) != 0) {
        return {};
    }
    char name[64];
    std::snprintf(name, sizeof name, "server-%llx-%llx",
                  static_cast<unsigned long long>(status.st_dev),
                  static_cast<unsigned long long>(status.st_ino));
    return name;
}

std::string UserFolder() {
    return ".wine-" + std::to_string(getuid());
}

bool AnyWriteLocked(const std::vector<std::filesystem::path>& lockFiles) {
    return std::ranges::any_of(lockFiles, IsWriteLocked);
}

}  // namespace

std::vector<std::filesystem::path> WineserverLockFiles(const std::filesystem::path& prefixFolder) {
    const std::string serverFolder = ServerFolderName(prefixFolder);
    if (serverFolder.empty()) {
        return {};
    }
    std::vector<std::filesystem::path> locks;
    locks.push_back(std::filesystem::path("/tmp") / UserFolder() / serverFolder / "lock");

    // The folder name that a prefix's "wineserver" file names: one short line.
    const Result<std::string> pointer = ReadWholeFile(prefixFolder / "wineserver", 4096);
    std::string name = pointer ? pointer->substr(0, pointer->find('\0')) : std::string();
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r' || name.back() == ' ')) {
        name.pop_back();
    }
    if (!name.empty()) {
        const std::filesystem::path named(name);
        if (named.is_absolute()) {
            locks.push_back(named / serverFolder / "lock");
        } else if (named.has_filename() && named.filename() == named && name != "..") {
            if (const char* tmp = std::getenv("TMPDIR"); tmp != nullptr && *tmp == '/') {
                locks.push_back(std::filesystem::path(tmp) / named / serverFolder / "lock");
            }
            locks.push_back(std::filesystem::path("/tmp") / named / serverFolder / "lock");
        }
    }
    return locks;
}

bool IsWineserverRunning(const std::filesystem::path& prefixFolder) {
    return AnyWriteLocked(WineserverLockFiles(prefixFolder));
}

std::vector<std::filesystem::path> SandboxedWineserverLockFiles(
    const std::filesystem::path& prefixFolder) {
    const std::string serverFolder = ServerFolderName(prefixFolder);
    if (serverFolder.empty()) {
        return {};
    }
    std::vector<std::filesystem::path> locks;
    std::error_code error;
    for (std::filesystem::directory_iterator entry("/tmp", error), end; !error && entry != end;
         entry.increment(error)) {
        // Only the user's own folders; the prefix, bound into the sandbox,
        // keeps its device and inode there, and so its server folder's name.
        struct stat status {};
        if (entry->path().filename().string().starts_with("flatpak-") &&
            lstat(entry->path().c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
            status.st_uid == getuid()) {
            locks.push_back(entry->path() / UserFolder() / serverFolder / "lock");
        }
    }
    return locks;
}

bool IsWineserverRunningInSandbox(const std::filesystem::path& prefixFolder) {
    return AnyWriteLocked(SandboxedWineserverLockFiles(prefixFolder));
}

}  // namespace platform
