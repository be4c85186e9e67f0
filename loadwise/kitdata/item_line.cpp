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
    // Read after the mark, as the list reader reads it: of a line that is a
    // lone double quote, field 2 is the field before it, which would make
    // the mark itself the key of the switched-off form.
    if (ClassifyLine(line) == LineKind::SwitchedOff) {
        line.remove_prefix(2);
    }
    return CFieldParser::GetField(line, 2, '"');
}

}  // namespace kitdata
