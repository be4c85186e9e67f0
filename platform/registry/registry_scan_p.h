#pragma once
// Scanning the registry's text format: blanks, hex digits and numbers, shared
// by the reader of key blocks, the value decoders and the escapes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace platform::registry_detail {

inline bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

inline int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c - 'A' + 10;
}

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

inline std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

inline std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

inline bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// A hex number up to the end character; nullopt when there is none.
inline std::optional<std::uint32_t> ParseHexNumber(std::string_view& text, std::size_t maxDigits) {
    std::uint32_t number = 0;
    std::size_t digits = 0;
    while (!text.empty() && IsHexDigit(text.front()) && digits < maxDigits) {
        number = number * 16 + static_cast<std::uint32_t>(HexValue(text.front()));
        text.remove_prefix(1);
        ++digits;
    }
    if (digits == 0) {
        return std::nullopt;
    }
    return number;
}

}  // namespace platform::registry_detail
