#include "loadwise/kitdata/selected_count.h"

#include <algorithm>

namespace kitdata {

int SelectedCount(int tab, int tickedRows) {
    return tab == kSpecialTab ? tickedRows + 1 : tickedRows;
}

bool IsCountAcceptable(int count, bool multiplayerOnly) {
    return count >= 1 && (count <= kMaxKitItems || multiplayerOnly);
}

bool IsSaveAllowed(const std::array<bool, kTabCount>& tabValid) {
    return std::all_of(tabValid.begin(), tabValid.end(), [](bool valid) { return valid; });
}

}  // namespace kitdata
