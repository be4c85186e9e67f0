#pragma once
// Windows paths ("C:\GOG Games\Rainbow Six\data\") mapped onto the prefix's
// drives. The programs keep Windows paths as they build them; only file
// access resolves them.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/wine_prefix.h"

namespace platform {

// "X:\a\b" -> <prefix>/dosdevices/x:/a/b. Each component that does not exist
// as spelled is matched case-insensitively against the folder's entries (the
// exact spelling wins); components that match nothing are kept as spelled, so
// the result names where a new file would go. A relative path resolves
// against the process's current directory. The Windows-1252 text is converted
// to UTF-8, as Wine names files on disk.
std::filesystem::path ResolveWindowsPath(const WinePrefix& prefix, std::string_view windowsPath);

// The process's current directory as a Windows path, without a trailing
// backslash unless it is a drive's root: the drive whose target holds it
// (longest match), Z: otherwise.
std::string CurrentDirectoryAsWindowsPath(const WinePrefix& prefix);

// A Unix path as a Windows path on the prefix's drives (as above).
std::string UnixToWindowsPath(const WinePrefix& prefix, const std::filesystem::path& unixPath);

}  // namespace platform
