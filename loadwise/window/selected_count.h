#pragma once
// The "Selected:" counter and whether a tab's count allows Save.

namespace loadwise {

// The most items a tab may offer unless Multiplayer Only is ticked.
constexpr int kMaxKitItems = 32;

// The figure the counter shows for a tab: the ticked rows, and one more on
// the Special tab (tab 2).
int SelectedCount(int tab, int tickedRows);

// At least one, and at most kMaxKitItems unless Multiplayer Only is ticked.
bool IsCountAcceptable(int count, bool multiplayerOnly);

}  // namespace loadwise
