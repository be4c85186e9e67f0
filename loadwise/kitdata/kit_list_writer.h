#pragma once
// Save: switches the "//" marks of the item lines in the three item files
// and the three kit lists to match the ticks of the lists.

#include <array>
#include <string>
#include <vector>

#include "loadwise/kitdata/game_paths.h"
#include "loadwise/kitdata/kit_files.h"
#include "platform/file_operations.h"
#include "platform/result.h"
#include "platform/wine_prefix.h"

namespace kitdata {

// One row of a check list as Save reads it: its Text cell and its tick, in
// the list's current order (the first row with a key decides for that key).
struct RowTick {
    std::string key;
    bool checked = false;
};

using TabTicks = std::array<std::vector<RowTick>, kTabCount>;

struct KitFilePair {
    std::vector<std::string> itemLines;
    std::vector<std::string> kitLines;
};

// The new lines of one tab's item file and kit list. Every line of both is
// kept in place; only the marks of item-file item lines whose key names a
// row, and of the kit-list lines paired with them by position, change.
KitFilePair SwitchItemMarks(const KitFilePair& files, const std::vector<RowTick>& ticks);

// Reads all six files, computes their new texts, and once nothing stands in
// the way of writing them backs the six up (see kit_backup.h; a failed backup
// is a failed save; none is made when the newest backup holds the same
// files) and replaces all six or none. The error names the file that failed
// and why; nothing was changed, and no backup of this save is left.
// operations does the replacing of the game's files.
platform::Status SaveKitLists(
    const platform::WinePrefix& prefix, const GamePaths& paths, const TabTicks& ticks,
    platform::FileOperations& operations = platform::RealFileOperations());

}  // namespace kitdata
