// Key and value names: their escapes as wineserver writes them, and the case
// they compare in.

#include <cstdio>

#include "platform/codepage.h"
#include "platform/registry/registry_scan_p.h"
#include "platform/registry/registry_text_p.h"

namespace platform::registry_detail {

std::u16string FoldRegistryNameCase(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& unit : folded) {
        if ((unit >= u'a' && unit <= u'z') || (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7)) {
            unit = static_cast<char16_t>(unit - 0x20);
        } else if (unit == 0xFF) {
            unit = 0x178;
        } else if (unit == 0x161 || unit == 0x153 || unit == 0x17E) {
            unit = static_cast<char16_t>(unit - 1);  // š œ ž -> Š Œ Ž
        }
    }
    return folded;
}

std::u16string TrimTrailingBackslashes(std::u16string_view path) {
    while (!path.empty() && path.back() == u'\\') {
        path.remove_suffix(1);
    }
    return std::u16string(path);
}

std::optional<std::size_t> ParseEscaped(std::string_view source, char endChar,
                                        std::u16string& out) {
    std::size_t i = 0;
    while (i < source.size() && source[i] != endChar) {
        if (source[i] == '\\' && i + 1 < source.size()) {
            const char c = source[i + 1];
            i += 2;
            switch (c) {
                case 'a':
                    out += u'\a';
                    continue;
                case 'b':
                    out += u'\b';
                    continue;
                case 'e':
                    out += u'\x1b';
                    continue;
                case 'f':
                    out += u'\f';
                    continue;
                case 'n':
                    out += u'\n';
                    continue;
                case 'r':
                    out += u'\r';
                    continue;
                case 't':
                    out += u'\t';
                    continue;
                case 'v':
                    out += u'\v';
                    continue;
                case 'x': {
                    std::string_view digits = source.substr(i);
                    const auto unit = ParseHexNumber(digits, 4);
                    if (!unit) {
                        out += u'x';
                    } else {
                        out += static_cast<char16_t>(*unit);
                        i = source.size() - digits.size();
                    }
                    continue;
                }
                default:
                    break;
            }
            if (c >= '0' && c <= '7') {
                unsigned unit = static_cast<unsigned>(c - '0');
                for (int n = 0; n < 2 && i < source.size() && source[i] >= '0' && source[i] <= '7';
                     ++n, ++i) {
                    unit = unit * 8 + static_cast<unsigned>(source[i] - '0');
                }
                out += static_cast<char16_t>(unit);
                continue;
            }
            // Any other escaped character stands for itself (\\ \" \] ...).
            --i;
        }
        if (static_cast<unsigned char>(source[i]) < 0x80) {  // most names are ASCII
            out += static_cast<char16_t>(source[i]);
            ++i;
            continue;
        }
        // Bytes that are no UTF-8 stand for the Latin-1 character of the same number.
        std::size_t length = 0;
        AppendUtf16(
            out,
            DecodeUtf8(source.substr(i), length).value_or(static_cast<unsigned char>(source[i])));
        i += length;
    }
    if (i >= source.size()) {
        return std::nullopt;
    }
    return i;
}

std::string Escape(std::u16string_view text, std::string_view extraEscapes) {
    static constexpr std::string_view kControlEscapes = ".......abtnvfr.............e....";
    std::string out;
    out.reserve(text.size() + 8);
    char buffer[16];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const bool hasNext = i + 1 < text.size();
        if (unit > 127) {
            const bool nextIsHex = hasNext && text[i + 1] < 128 && IsHexDigit(char(text[i + 1]));
            std::snprintf(buffer, sizeof buffer, nextIsHex ? "\\x%04x" : "\\x%x", unsigned(unit));
            out += buffer;
        } else if (unit < 32) {
            if (kControlEscapes[unit] != '.') {
                out += '\\';
                out += kControlEscapes[unit];
            } else {
                const bool nextIsOctal = hasNext && text[i + 1] >= u'0' && text[i + 1] <= u'7';
                std::snprintf(buffer, sizeof buffer, nextIsOctal ? "\\%03o" : "\\%o",
                              unsigned(unit));
                out += buffer;
            }
        } else {
            const char c = static_cast<char>(unit);
            if (c == '\\' || extraEscapes.find(c) != std::string_view::npos) {
                out += '\\';
            }
            out += c;
        }
    }
    return out;
}

}  // namespace platform::registry_detail
