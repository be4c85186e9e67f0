#include "loadwise/kitdata/item_line.h"

#include "loadwise/kitdata/field_parser.h"

namespace kitdata {

LineKind ClassifyLine(std::string_view line) {
    if (line.starts_with('"')) {
        return LineKind::ActiveItem;
    }
    if (line.starts_with("//\"")) {
        return LineKind::SwitchedOff;
    }
    return LineKind::Other;
}

std::string ItemKey(std::string_view line) {
    return CFieldParser::GetField(line, 2, '"');
}

}  // namespace kitdata
