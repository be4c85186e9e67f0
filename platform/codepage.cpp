#include "platform/codepage.h"

#include <array>
#include <cstdint>

namespace platform {
namespace {

// Windows-1252 0x80..0x9F; 0 marks the five unassigned bytes, which Windows
// maps to the same C1 control code points.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t Cp1252ToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F && kHighTable[byte - 0x80] != 0) {
        return kHighTable[byte - 0x80];
    }
    return byte;
}

char CodePointToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<char>(cp);
    }
    for (std::size_t i = 0; i < kHighTable.size(); ++i) {
        const char32_t mapped = kHighTable[i] != 0 ? kHighTable[i] : char32_t(0x80 + i);
        if (mapped == cp) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(c)));
    }
    return out;
}

std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    length = 1;
    const unsigned char first = byte(0);
    if (first < 0x80) {
        return first;
    }
    std::size_t count = 0;
    char32_t cp = 0;
    if ((first & 0xE0) == 0xC0) {
        count = 2;
        cp = first & 0x1F;
    } else if ((first & 0xF0) == 0xE0) {
        count = 3;
        cp = first & 0x0F;
    } else if ((first & 0xF8) == 0xF0) {
        count = 4;
        cp = first & 0x07;
    } else {
        return std::nullopt;
    }
    if (text.size() < count) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < count; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms ("\xC0\xAF" for '/'), surrogates and code points past
    // U+10FFFF are not characters; letting them through would smuggle
    // separators or control bytes into names.
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[count] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return std::nullopt;
    }
    length = count;
    return cp;
}

std::string Utf8ToCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        std::size_t length = 0;
        const std::optional<char32_t> cp = DecodeUtf8(text, length);
        out += cp ? CodePointToCp1252(*cp) : '?';
        text.remove_prefix(length);
    }
    return out;
}

std::string FoldCaseCp1252(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
            c = static_cast<char>(byte + 0x20);
        } else if (byte == 0x8A || byte == 0x8C || byte == 0x8E) {
            c = static_cast<char>(byte + 0x10);
        } else if (byte == 0x9F) {
            c = static_cast<char>(0xFF);
        }
    }
    return out;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    while (!text.empty()) {
        std::size_t length = 0;
        // Bytes that are no UTF-8 stand for the Latin-1 character of the same number.
        AppendUtf16(out, DecodeUtf8(text, length).value_or(static_cast<unsigned char>(text[0])));
        text.remove_prefix(length);
    }
    return out;
}

std::u16string Cp1252ToUtf16(std::string_view text) {
    return Utf8ToUtf16(Cp1252ToUtf8(text));
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = u'?';  // a lone surrogate is no character
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::string Utf16ToCp1252(std::u16string_view text) {
    // Windows-1252 holds no character outside the BMP; a pair becomes one '?'.
    return Utf8ToCp1252(Utf16ToUtf8(text));
}

std::string Utf16LeBytes(std::u16string_view units) {
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t unit : units) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

std::u16string Utf16LeUnits(std::string_view bytes) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        units += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                       (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return units;
}

}  // namespace platform
