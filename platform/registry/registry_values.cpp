// Value lines, one decoder per type, and the data as an "A" program reads it.

#include "platform/codepage.h"
#include "platform/registry/registry_scan_p.h"
#include "platform/registry/registry_text_p.h"

namespace platform::registry_detail {
namespace {

// The type N of a "str(N):" or "hex(N):" tag; text then starts at the ':'.
std::optional<std::uint32_t> TypeTag(std::string_view& text) {
    text.remove_prefix(4);  // "str(" or "hex("
    const auto type = ParseHexNumber(text, 8);
    if (!type || !StartsWith(text, "):")) {
        return std::nullopt;
    }
    text.remove_prefix(1);
    return type;
}

// "text" (REG_SZ) or str(N):"text": UTF-16 with its terminating zero.
bool DecodeText(std::string_view text, Value& value) {
    value.type = kRegSz;
    if (StartsWith(text, "str(")) {
        const auto type = TypeTag(text);
        if (!type || !StartsWith(text, ":\"")) {
            return false;
        }
        value.type = *type;
        text.remove_prefix(1);
    }
    std::u16string units;
    if (!ParseEscaped(text.substr(1), '"', units)) {
        return false;
    }
    units += u'\0';
    value.data = Utf16LeBytes(units);
    return true;
}

// dword:0000012c, stored as its four bytes, least significant first.
bool DecodeDword(std::string_view text, Value& value) {
    text.remove_prefix(6);
    const auto number = ParseHexNumber(text, 8);
    if (!number) {
        return false;
    }
    value.type = kRegDword;
    for (int shift = 0; shift < 32; shift += 8) {
        value.data += static_cast<char>((*number >> shift) & 0xFF);
    }
    return true;
}

// hex:xx,xx (REG_BINARY) or hex(N):xx,xx, in any number of lines: a line
// that ends with a backslash goes on in the next one (up to blockEnd).
// value.endLine ends up after the lines read, also when the bytes break off.
bool DecodeHex(const RegistryText& file, std::string_view text, std::size_t blockEnd,
               Value& value) {
    value.type = kRegBinary;
    if (StartsWith(text, "hex(")) {
        const auto type = TypeTag(text);
        if (!type) {
            return false;
        }
        value.type = *type;
    } else {
        text.remove_prefix(3);
    }
    text.remove_prefix(1);  // ':'
    while (true) {
        text = TrimRight(TrimLeft(text));
        const bool continued = !text.empty() && text.back() == '\\';
        if (continued) {
            text.remove_suffix(1);
        }
        while (!text.empty()) {
            text = TrimLeft(text);
            const auto byte = ParseHexNumber(text, 2);
            if (!byte) {
                if (!text.empty()) {
                    return false;
                }
                break;
            }
            value.data += static_cast<char>(*byte);
            text = TrimLeft(text);
            if (StartsWith(text, ",")) {
                text.remove_prefix(1);
            }
        }
        if (!continued || value.endLine >= blockEnd) {
            return true;
        }
        text = file.LineText(value.endLine);
        ++value.endLine;
    }
}

}  // namespace

std::optional<std::string_view> ValueData(std::string_view line, std::u16string& name) {
    std::string_view text = TrimLeft(line);
    if (StartsWith(text, "@")) {
        text.remove_prefix(1);
    } else if (StartsWith(text, "\"")) {
        const auto length = ParseEscaped(text.substr(1), '"', name);
        if (!length) {
            return std::nullopt;
        }
        text.remove_prefix(*length + 2);
    } else {
        return std::nullopt;
    }
    text = TrimLeft(text);
    if (!StartsWith(text, "=")) {
        return std::nullopt;
    }
    return TrimLeft(text.substr(1));
}

bool DecodeValue(const RegistryText& file, std::string_view data, std::size_t blockEnd,
                 Value& value) {
    if (StartsWith(data, "\"") || StartsWith(data, "str(")) {
        return DecodeText(data, value);
    }
    if (StartsWith(data, "dword:")) {
        return DecodeDword(data, value);
    }
    if (StartsWith(data, "hex:") || StartsWith(data, "hex(")) {
        return DecodeHex(file, data, blockEnd, value);
    }
    return false;
}

// The "A" view of a value. Text types (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ)
// are UTF-16 and always converted, unit by unit, as RegQueryValueExA does.
// Wine also keeps text under other tags (a game that saves its text with a
// dword type ends up as hex(4):30,00,2e,00,...,00,00); such data is converted
// too when it is unmistakably text: an even number of bytes, at least one
// character, ending with one zero unit, and every other unit a printable
// character that Windows-1252 holds (or tab, CR, LF). A number of its type's
// own size (a dword of 4 bytes, a qword of 8) is always a number, and
// anything else is returned raw.
std::string AnsiData(std::uint32_t type, const std::string& data) {
    constexpr std::uint32_t kRegDwordBigEndian = 5;
    constexpr std::uint32_t kRegQword = 11;
    const std::u16string units = Utf16LeUnits(data);
    if (type == kRegSz || type == kRegExpandSz || type == kRegMultiSz) {
        return Utf16ToCp1252(units);
    }
    const bool number = ((type == kRegDword || type == kRegDwordBigEndian) && data.size() == 4) ||
                        (type == kRegQword && data.size() == 8);
    if (number || data.size() % 2 != 0 || units.size() < 2 || units.back() != 0) {
        return data;
    }
    for (std::size_t i = 0; i + 1 < units.size(); ++i) {
        const char16_t unit = units[i];
        const bool control = unit < 0x20 && unit != u'\t' && unit != u'\r' && unit != u'\n';
        if (control || unit == 0x7F || (unit >= 0x80 && unit < 0xA0) ||
            (unit != u'?' && Utf16ToCp1252(std::u16string_view(&unit, 1)) == "?")) {
            return data;
        }
    }
    return Utf16ToCp1252(units);
}

}  // namespace platform::registry_detail
