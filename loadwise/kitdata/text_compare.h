#pragma once
// The one case-insensitive text comparison of Loadwise. The check list's
// text sort orders cells with it, and the kit list writer finds the row of
// an item line by comparing keys with it, so both must use this function.

#include <string>
#include <string_view>

namespace kitdata {

// Byte by byte: the letters A to Z compare as a to z, every other byte by its
// unsigned value; a text that is a prefix of the other is the smaller.
// Returns -1, 0 or +1.
int CompareNoCase(std::string_view left, std::string_view right);

inline bool EqualNoCase(std::string_view left, std::string_view right) {
    return CompareNoCase(left, right) == 0;
}

// The text with A to Z made a to z: two texts are equal under CompareNoCase
// exactly when their folded forms are equal, so it serves as a lookup key.
std::string FoldAsciiCase(std::string_view text);

}  // namespace kitdata
