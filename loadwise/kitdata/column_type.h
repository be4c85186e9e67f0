#pragma once
// How a column of a check list is ordered when its heading is clicked. The
// item list reader says it for each column; the check list sorts by it.

#include <cstdint>

namespace kitdata {

enum class ColumnType : std::int32_t {
    Text = 0,    // case-insensitive text order (CompareNoCase)
    Number = 1,  // numeric order (CellNumber)
};

}  // namespace kitdata
