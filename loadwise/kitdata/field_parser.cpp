#include "loadwise/kitdata/field_parser.h"

namespace kitdata {

std::string CFieldParser::GetField(std::string_view text, int n, char delimiter) {
    if (n <= 0) {
        return {};
    }
    std::string_view rest = text;
    std::string_view field;
    int k = 0;
    while (!rest.empty()) {
        const std::size_t at = rest.find(delimiter);
        if (at == std::string_view::npos) {
            field = rest;
            break;
        }
        field = rest.substr(0, at);
        ++k;
        rest = rest.substr(at + 1);
        if (k == n) {
            break;
        }
    }
    // A text ending with the delimiter leaves field d in place for n = d + 1.
    return n <= k + 1 ? std::string(field) : std::string();
}

std::string CFieldParser::GetTrimmedField(std::string_view text, int n, char delimiter) {
    const std::string field = GetField(text, n, delimiter);
    constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
    const std::size_t first = field.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t last = field.find_last_not_of(kWhiteSpace);
    return field.substr(first, last - first + 1);
}

}  // namespace kitdata
