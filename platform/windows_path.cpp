#include "platform/windows_path.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/codepage.h"

namespace fs = std::filesystem;

namespace platform {
namespace {

struct ParsedPath {
    char drive = 0;                       // lower-case drive letter, 0 when the path names none
    bool rooted = false;                  // begins at a root ("X:\..." or "\...")
    std::vector<std::string> components;  // Windows-1252, "." removed, ".." folded
    std::size_t leadingParents = 0;       // ".." left over in front of a relative path
};

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

ParsedPath Parse(std::string_view text) {
    ParsedPath parsed;
    if (text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == ':') {
        parsed.drive = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
        text.remove_prefix(2);
    }
    parsed.rooted = !text.empty() && IsSeparator(text.front());

    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = start;
        while (end < text.size() && !IsSeparator(text[end])) {
            ++end;
        }
        const std::string_view component = text.substr(start, end - start);
        if (component == "..") {
            if (!parsed.components.empty()) {
                parsed.components.pop_back();
            } else if (!parsed.rooted) {
                ++parsed.leadingParents;
            }
            // ".." at a root stays at the root, as on Windows.
        } else if (!component.empty() && component != ".") {
            parsed.components.emplace_back(component);
        }
        start = end + 1;
    }
    return parsed;
}

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// The entry of folder whose name equals the Windows-1252 name regardless of
// case; the smallest such name when several do, so the choice is stable.
std::optional<fs::path> FindIgnoringCase(const fs::path& folder, std::string_view name) {
    const std::string wanted = FoldCaseCp1252(name);
    std::optional<std::string> best;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        const std::string entryCp1252 = Utf8ToCp1252(entry);
        // A name Windows-1252 cannot spell cannot be the one asked for.
        if (Cp1252ToUtf8(entryCp1252) != entry || FoldCaseCp1252(entryCp1252) != wanted) {
            continue;
        }
        if (!best || entry < *best) {
            best = entry;
        }
    }
    if (!best) {
        return std::nullopt;
    }
    return folder / *best;
}

fs::path Descend(fs::path current, const std::vector<std::string>& components) {
    bool matching = true;
    for (const std::string& component : components) {
        const std::string spelled = Cp1252ToUtf8(component);
        if (matching && !Exists(current / spelled)) {
            if (auto found = FindIgnoringCase(current, component)) {
                current = std::move(*found);
                continue;
            }
            // Nothing below a missing folder can exist.
            matching = false;
        }
        current /= spelled;
    }
    return current;
}

fs::path CurrentDirectory() {
    std::error_code error;
    fs::path current = fs::current_path(error);
    return error ? fs::path("/") : current;
}

fs::path DriveRoot(const WinePrefix& prefix, char drive) {
    return prefix.folder / "dosdevices" / std::string{drive, ':'};
}

}  // namespace

fs::path ResolveWindowsPath(const WinePrefix& prefix, std::string_view windowsPath) {
    // A Windows program's path ends at its first NUL; nothing after it may
    // reach the file system.
    windowsPath = windowsPath.substr(0, windowsPath.find('\0'));
    const ParsedPath parsed = Parse(windowsPath);

    if (parsed.drive != 0 && parsed.rooted) {
        return Descend(DriveRoot(prefix, parsed.drive), parsed.components);
    }

    if (parsed.drive != 0 || parsed.rooted) {
        // "X:name" is relative to the current directory when that lies on X:
        // (otherwise to X:'s root); "\name" is the root of the current drive.
        const std::string current = CurrentDirectoryAsWindowsPath(prefix);
        const char currentDrive =
            static_cast<char>(std::tolower(static_cast<unsigned char>(current[0])));
        if (parsed.rooted) {
            return Descend(DriveRoot(prefix, currentDrive), parsed.components);
        }
        if (parsed.drive != currentDrive) {
            return Descend(DriveRoot(prefix, parsed.drive), parsed.components);
        }
        return ResolveWindowsPath(prefix, current + "\\" + std::string(windowsPath.substr(2)));
    }

    fs::path base = CurrentDirectory();
    for (std::size_t i = 0; i < parsed.leadingParents; ++i) {
        base = base.parent_path();
    }
    return Descend(base, parsed.components);
}

std::string UnixToWindowsPath(const WinePrefix& prefix, const fs::path& unixPath) {
    std::error_code error;
    fs::path path = fs::absolute(unixPath, error);
    if (error) {
        path = unixPath;
    }
    fs::path canonical = fs::weakly_canonical(path, error);
    path = (error ? path : canonical).lexically_normal();

    char bestDrive = 0;
    std::ptrdiff_t bestLength = -1;
    fs::path bestTarget;
    for (fs::directory_iterator it(prefix.folder / "dosdevices", error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() != 2 || name[1] != ':' || name[0] < 'a' || name[0] > 'z') {
            continue;
        }
        std::error_code targetError;
        const fs::path target = fs::canonical(it->path(), targetError);
        if (targetError || !fs::is_directory(target, targetError)) {
            continue;
        }
        const auto [targetEnd, pathAt] =
            std::mismatch(target.begin(), target.end(), path.begin(), path.end());
        if (targetEnd != target.end()) {
            continue;
        }
        const auto length = std::distance(target.begin(), target.end());
        if (length > bestLength || (length == bestLength && name[0] < bestDrive)) {
            bestDrive = name[0];
            bestLength = length;
            bestTarget = target;
        }
    }

    std::string windows;
    fs::path::iterator rest = path.begin();
    if (bestDrive != 0) {
        windows = std::string{static_cast<char>(std::toupper(bestDrive)), ':'};
        rest = std::mismatch(bestTarget.begin(), bestTarget.end(), path.begin(), path.end()).second;
    } else {
        windows = "Z:";
        if (rest != path.end() && rest->has_root_directory()) {
            ++rest;
        }
    }
    for (; rest != path.end(); ++rest) {
        const std::string component = rest->string();
        if (!component.empty() && component != "/") {
            windows += '\\';
            windows += Utf8ToCp1252(component);
        }
    }
    if (windows.size() == 2) {
        windows += '\\';
    }
    return windows;
}

std::string CurrentDirectoryAsWindowsPath(const WinePrefix& prefix) {
    return UnixToWindowsPath(prefix, CurrentDirectory());
}

}  // namespace platform
