#pragma once
// The kinds of line in item files and kit lists. The test is on the very
// first bytes, exactly: no white space is skipped.

#include <string>
#include <string_view>

namespace kitdata {

enum class LineKind {
    Other,        // anything else, blank lines included
    ActiveItem,   // begins with a double quote
    SwitchedOff,  // begins with //" : an item line switched off by "//"
};

LineKind ClassifyLine(std::string_view line);

inline bool IsItemLine(std::string_view line) {
    return ClassifyLine(line) != LineKind::Other;
}

// The key of an item line: its first quoted string (field 2 when cut at the
// double quote), the same for the active and the switched-off form. It names
// the item's description file and finds the item's row on Save.
std::string ItemKey(std::string_view line);

}  // namespace kitdata
