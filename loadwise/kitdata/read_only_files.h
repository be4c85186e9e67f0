#pragma once
// Makes the game files that Save rewrites writable.

#include <string_view>
#include <vector>

#include "loadwise/kitdata/game_paths.h"
#include "platform/result.h"
#include "platform/wine_prefix.h"

namespace kitdata {

// Clears the read-only mark of every file matching the Windows path (folders
// are left alone; nothing matching is no problem). Returns the files whose
// mark could not be cleared.
std::vector<platform::Error> ClearReadOnlyFiles(const platform::WinePrefix& prefix,
                                                std::string_view windowsPath);

// ClearReadOnlyFiles on the six kit files, in order.
std::vector<platform::Error> ClearKitFilesReadOnly(const platform::WinePrefix& prefix,
                                                   const GamePaths& paths);

}  // namespace kitdata
