#include "loadwise/window/selected_count.h"

#include "loadwise/kitdata/kit_files.h"

namespace loadwise {

int SelectedCount(int tab, int tickedRows) {
    return tab == kitdata::kSpecialTab ? tickedRows + 1 : tickedRows;
}

bool IsCountAcceptable(int count, bool multiplayerOnly) {
    return count >= 1 && (count <= kMaxKitItems || multiplayerOnly);
}

}  // namespace loadwise
