#include "loadwise/res/string_table.h"

#include "loadwise/res/resource_ids.h"

namespace loadwise {

std::string LoadResourceString(int id) {
    return id == IDS_ABOUTBOX ? "&About Loadwise..." : "";
}

}  // namespace loadwise
