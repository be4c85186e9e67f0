#pragma once
// Clearing the read-only mark of the game's files before the packages run.

#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "platform/wine_prefix.h"
#include "varnopts/settings/game_paths.h"

namespace varnopts {

// The ten search patterns, in the order they are cleared; a folder value
// that is empty gives none (the rest of the plan goes on).
std::vector<std::string> ReadOnlyClearingPatterns(const GamePaths& paths);

// Clears the read-only mark of every file matching pattern (one folder, no
// recursion). Folders and files that are not read-only are left alone; a file
// gone since the search is skipped. A file whose mark cannot be cleared stops
// the clearing; the error names it.
platform::Status ClearReadOnlyFiles(const platform::WinePrefix& prefix, std::string_view pattern);

// All ten patterns in order, stopping at the first failure.
platform::Status ClearGameReadOnlyFiles(const platform::WinePrefix& prefix, const GamePaths& paths);

// The message for a clearing that stopped: which file, why, and that nothing
// was installed.
std::string DescribeClearingFailure(const platform::Error& error);

}  // namespace varnopts
