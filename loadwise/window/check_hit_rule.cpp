#include "loadwise/window/check_hit_rule.h"

namespace loadwise {

bool PressTogglesCheck(unsigned hitFlags, bool ownerDrawn, int x, int iconLeft) {
    if (hitFlags == LVHT_ONITEM && ownerDrawn) {
        return x < iconLeft;
    }
    return (hitFlags & LVHT_ONITEMSTATEICON) != 0;
}

}  // namespace loadwise
