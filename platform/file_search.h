#pragma once
// File search with a Windows pattern, and the read-only mark as Wine reads it.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "platform/wine_prefix.h"

namespace platform {

struct FoundFile {
    std::string name;            // the entry's name as a Windows program sees it (Windows-1252)
    std::filesystem::path path;  // where it is on disk
    bool isFolder = false;
    bool isReadOnly = false;  // no write bit at all
};

// The entries matching "folder\pattern" ("*.*" and "*" match every entry, "?"
// one character, case-insensitively; an exact name matches one). "." and ".."
// are never returned. A folder that does not exist gives no entries. Entries
// come sorted by name, so every search gives the same order.
std::vector<FoundFile> FindFiles(const WinePrefix& prefix, std::string_view windowsPattern);

// True when the file has no write bit at all (Wine shows it read-only).
bool IsReadOnly(const std::filesystem::path& file);

// Clears the read-only mark as Wine does: mode |= (0600 | ((mode & 044) >> 1)) & ~umask,
// time stamps kept. Should the umask deny every write bit, the owner's is set
// all the same. A folder or a writable file is left alone. The error says
// which file and why.
Status ClearReadOnly(const std::filesystem::path& file);

}  // namespace platform
