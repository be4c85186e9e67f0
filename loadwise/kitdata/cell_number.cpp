#include "loadwise/kitdata/cell_number.h"

#include <locale.h>
#include <charconv>
#include <clocale>
#include <cstdlib>
#include <string>

namespace kitdata {
namespace {

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// strtod in the "C" locale, for the rare number from_chars reports out of
// range (strtod then gives +-HUGE_VAL or a value rounded towards 0).
double StrtodInCLocale(const std::string& text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(text.c_str(), nullptr, cLocale);
}

}  // namespace

double CellNumber(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsCSpace(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Only a decimal number counts: digits, or a point followed by a digit.
    const std::string_view number = text.substr(pos);
    const bool startsNumber =
        !number.empty() &&
        (IsDigit(number[0]) || (number[0] == '.' && number.size() > 1 && IsDigit(number[1])));
    if (!startsNumber) {
        return 0.0;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                              std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        value = StrtodInCLocale(std::string(number.data(), end));
    } else if (error != std::errc{}) {
        return 0.0;
    }
    return negative ? -value : value;
}

}  // namespace kitdata
