// CFieldParser on any text, delimiter and field number, checked against a
// plain split of the text.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "loadwise/kitdata/field_parser.h"

namespace {

std::vector<std::string_view> Split(std::string_view text, char delimiter) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(delimiter);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(at + 1);
    }
}

// What field n must be: part n of the split; past the last part nothing. A
// text ending with the delimiter gives its last real field once more for the
// empty field after it.
std::string Expected(std::string_view text, int n, char delimiter) {
    if (n <= 0) {
        return {};
    }
    const std::vector<std::string_view> parts = Split(text, delimiter);
    const std::size_t index = static_cast<std::size_t>(n);
    if (index > parts.size()) {
        return {};
    }
    if (index == parts.size() && parts.size() >= 2 && parts.back().empty()) {
        return std::string(parts[parts.size() - 2]);
    }
    return std::string(parts[index - 1]);
}

std::string Trimmed(const std::string& field) {
    constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
    const std::size_t first = field.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos) {
        return {};
    }
    return field.substr(first, field.find_last_not_of(kWhiteSpace) - first + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const char delimiter = static_cast<char>(input.ConsumeIntegral<std::uint8_t>());
    const int n = input.ConsumeIntegralInRange<int>(-2, 64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::string field = kitdata::CFieldParser::GetField(text, n, delimiter);
    if (field != Expected(text, n, delimiter)) {
        std::abort();
    }
    if (field.find(delimiter) != std::string::npos) {
        std::abort();
    }
    if (kitdata::CFieldParser::GetTrimmedField(text, n, delimiter) != Trimmed(field)) {
        std::abort();
    }
    return 0;
}
