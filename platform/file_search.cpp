#include "platform/file_search.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/codepage.h"
#include "platform/file_read.h"
#include "platform/windows_path.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

// '*' any run of characters, '?' exactly one; both sides already case-folded.
bool MatchesWildcard(std::string_view pattern, std::string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::optional<FoundFile> Describe(const fs::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;  // a dangling link: nothing a program could open
    }
    FoundFile found;
    found.name = Utf8ToCp1252(path.filename().string());
    found.path = path;
    found.isFolder = S_ISDIR(status.st_mode);
    found.isReadOnly = (status.st_mode & 0222) == 0;
    return found;
}

mode_t CurrentUmask() {
    // Read without changing it where the kernel tells it; otherwise set and
    // restore at once.
    if (const Result<std::string> status = ReadWholeFile("/proc/self/status")) {
        const std::size_t at = status->find("\nUmask:");
        if (at != std::string::npos) {
            return static_cast<mode_t>(std::stoul(status->substr(at + 7), nullptr, 8));
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

}  // namespace

std::vector<FoundFile> FindFiles(const WinePrefix& prefix, std::string_view windowsPattern) {
    windowsPattern = windowsPattern.substr(0, windowsPattern.find('\0'));
    const std::size_t split = windowsPattern.find_last_of("\\/");
    std::string_view folderPart;
    std::string_view pattern = windowsPattern;
    if (split != std::string_view::npos) {
        folderPart = windowsPattern.substr(0, split + 1);
        pattern = windowsPattern.substr(split + 1);
    } else if (windowsPattern.size() >= 2 && windowsPattern[1] == ':') {
        folderPart = windowsPattern.substr(0, 2);
        pattern = windowsPattern.substr(2);
    }
    if (pattern.empty() || pattern == "." || pattern == "..") {
        return {};
    }

    std::vector<FoundFile> found;
    if (pattern.find_first_of("*?") == std::string_view::npos) {
        // An exact name finds the one entry it resolves to.
        const fs::path path = ResolveWindowsPath(prefix, windowsPattern);
        if (auto entry = Describe(path)) {
            found.push_back(std::move(*entry));
        }
        return found;
    }

    // "*.*" matches every name, those without a dot too, as on Windows.
    const std::string wanted = pattern == "*.*" ? "*" : FoldCaseCp1252(pattern);
    const fs::path folder = ResolveWindowsPath(prefix, folderPart.empty() ? "." : folderPart);
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = Utf8ToCp1252(it->path().filename().string());
        if (!MatchesWildcard(wanted, FoldCaseCp1252(name))) {
            continue;
        }
        if (auto entry = Describe(it->path())) {
            found.push_back(std::move(*entry));
        }
    }
    std::sort(found.begin(), found.end(),
              [](const FoundFile& a, const FoundFile& b) { return a.path < b.path; });
    return found;
}

bool IsReadOnly(const fs::path& file) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 && (status.st_mode & 0222) == 0;
}

Status ClearReadOnly(const fs::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        return SystemError(file.string(), errno);
    }
    if (S_ISDIR(status.st_mode) || (status.st_mode & 0222) != 0) {
        return Status::Ok();  // folders are never touched, writable files need nothing
    }
    const mode_t mode = status.st_mode & 07777;
    mode_t cleared = mode | ((0600 | ((mode & 044) >> 1)) & ~CurrentUmask());
    if ((cleared & 0222) == 0) {
        // A umask that forbids the owner's write bit would leave the file
        // read-only while reporting success; the owner may always write.
        cleared |= 0200;
    }
    // chmod changes only the inode's change time: access and modification
    // times stay exactly as they were.
    if (::chmod(file.c_str(), cleared) != 0) {
        return SystemError(file.string(), errno);
    }
    return Status::Ok();
}

}  // namespace platform
