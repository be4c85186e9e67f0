#pragma once
// The "Selected:" counter, whether a tab's count is acceptable, and whether
// Save may be pressed.

#include <array>

#include "loadwise/kitdata/kit_files.h"

namespace kitdata {

// The most items a tab may offer unless Multiplayer Only is ticked.
constexpr int kMaxKitItems = 32;

// The figure the counter shows for a tab: the ticked rows, and one more on
// the Special tab (tab 2).
int SelectedCount(int tab, int tickedRows);

// At least one, and at most kMaxKitItems unless Multiplayer Only is ticked.
bool IsCountAcceptable(int count, bool multiplayerOnly);

// Save may be pressed only while the last count of every tab was
// acceptable; a tab not counted since start-up counts as acceptable.
bool IsSaveAllowed(const std::array<bool, kTabCount>& tabValid);

}  // namespace kitdata
