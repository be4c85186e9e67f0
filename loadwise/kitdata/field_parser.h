#pragma once
// Picks the n-th field of a line cut at a delimiter. Used for item lines,
// data file lines and the name table.

#include <string>
#include <string_view>

namespace kitdata {

class CFieldParser {
  public:
    // Field n, counted from 1, of text cut at every delimiter. n = 0 or a field
    // past the last gives "". Two delimiters in a row give an empty field. When
    // the text ends with the delimiter, the empty last field d + 1 comes back
    // as field d (the game's item lines are read this way).
    static std::string GetField(std::string_view text, int n, char delimiter);

    // GetField with blanks, tabs, CR, LF, VT and FF removed from both ends.
    static std::string GetTrimmedField(std::string_view text, int n, char delimiter);
};

}  // namespace kitdata
