#include "loadwise/kitdata/check_hit_rule.h"

namespace kitdata {

bool PressTogglesCheck(ListHit hit) {
    return hit == ListHit::CheckBox;
}

}  // namespace kitdata
