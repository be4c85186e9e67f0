#pragma once
// The numeric value of a cell text, as the C library's strtod reads a decimal
// number in the "C" locale (whatever locale the program runs in): leading
// white space skipped, the longest prefix of the form [sign] digits [. digits]
// [exponent] taken, and 0 when the text starts with no number ("None", "").
// The check list sorts Number columns by it; the ratings are judged by it.

#include <string_view>

namespace kitdata {

double CellNumber(std::string_view text);

}  // namespace kitdata
