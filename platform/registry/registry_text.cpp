#include "platform/registry/registry_text_p.h"

#include <cstdio>

#include "platform/codepage.h"

namespace platform::registry_detail {
namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c - 'A' + 10;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// A hex number up to the end character; nullopt when there is none.
std::optional<std::uint32_t> ParseHexNumber(std::string_view& text, std::size_t maxDigits) {
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

// The part of a value line after its name and '=' ("@=" or "\"Name\"="),
// trimmed at its start; nothing when the line is no value.
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

// Lines in no known format are skipped, as wineserver does.
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

// The length of an escaped name up to the unescaped end character, read as
// ParseEscaped reads it (an escape takes the character after the
// backslash with it), or nothing when the end character never comes.
std::optional<std::size_t> EscapedLength(std::string_view source, char endChar) {
    std::size_t i = 0;
    while (i < source.size() && source[i] != endChar) {
        i += source[i] == '\\' && i + 1 < source.size() ? 2 : 1;
    }
    if (i >= source.size()) {
        return std::nullopt;
    }
    return i;
}

}  // namespace

RegistryText::RegistryText(std::string content) : content_(std::move(content)) {
    lines_.reserve(content_.size() / 32);
    std::size_t offset = 0;
    while (offset < content_.size()) {
        const std::size_t newline = content_.find('\n', offset);
        const std::size_t end = newline == std::string::npos ? content_.size() : newline + 1;
        std::size_t textEnd = newline == std::string::npos ? content_.size() : newline;
        if (textEnd > offset && content_[textEnd - 1] == '\r') {
            --textEnd;
        }
        lines_.push_back({offset, textEnd - offset, end - offset});
        offset = end;
    }

    validHeader_ = !lines_.empty() && TrimRight(LineText(0)) == kHeader;
    KeyBlock* current = nullptr;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const std::string_view text = TrimLeft(LineText(i));
        if (StartsWith(text, "[")) {
            if (current != nullptr) {
                current->endLine = i;
            }
            const std::optional<std::size_t> nameLength = EscapedLength(text.substr(1), ']');
            if (!nameLength) {
                current = nullptr;  // a broken key line: its values belong to no key
                continue;
            }
            KeyBlock key;
            key.nameOffset = static_cast<std::size_t>(text.data() + 1 - content_.data());
            key.nameLength = *nameLength;
            key.headerLine = i;
            key.endLine = lines_.size();
            key.lastContentLine = i;
            keys_.push_back(std::move(key));
            current = &keys_.back();
        } else if (current == nullptr) {
            if (TrimRight(text) == "#arch=win64") {
                win64_ = true;
            }
        } else if (!TrimRight(text).empty()) {
            current->lastContentLine = i;
            if (TrimRight(text) == "#link") {
                current->isLink = true;
            }
        }
    }
    for (KeyBlock& key : keys_) {
        if (key.isLink) {
            DecodeName(key);
        }
    }
}

void RegistryText::DecodeName(KeyBlock& key) const {
    std::u16string path;
    ParseEscaped(std::string_view(content_).substr(key.nameOffset, key.nameLength + 1), ']', path);
    key.path = TrimTrailingBackslashes(path);
    key.foldedPath = FoldRegistryNameCase(key.path);
}

const std::vector<KeyBlock>& RegistryText::keys() const {
    std::call_once(namesDecoded_, [this] {
        for (KeyBlock& key : keys_) {
            if (!key.isLink) {  // a link's name is there from the start
                DecodeName(key);
            }
        }
    });
    return keys_;
}

RegistryText::Relation RegistryText::Relate(const KeyBlock& key,
                                            std::u16string_view foldedPath) const {
    const std::string_view name = std::string_view(content_).substr(key.nameOffset, key.nameLength);
    // Most names are ASCII with no escape but "\\": those compare unit by
    // unit as they stand, and nearly all differ within their first names.
    std::size_t matched = 0;  // units of foldedPath matched
    std::size_t i = 0;
    for (; i < name.size(); ++i) {
        char c = name[i];
        if (static_cast<unsigned char>(c) >= 0x80 ||
            (c == '\\' && (i + 1 >= name.size() || name[i + 1] != '\\'))) {
            break;  // needs the whole unescaping
        }
        if (c == '\\') {
            ++i;
        } else if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (matched == foldedPath.size()) {
            break;  // the name goes on past the path: below it, or trailing backslashes
        }
        if (static_cast<char16_t>(c) != foldedPath[matched]) {
            return Relation::Other;
        }
        ++matched;
    }
    if (i == name.size() && matched < foldedPath.size()) {
        return Relation::Other;  // a name shorter than the path
    }
    // The rest decides (trailing backslashes are no part of the path):
    // unescaped and compared whole.
    std::u16string path;
    ParseEscaped(std::string_view(content_).substr(key.nameOffset, key.nameLength + 1), ']', path);
    const std::u16string folded = FoldRegistryNameCase(TrimTrailingBackslashes(path));
    if (folded == foldedPath) {
        return Relation::Same;
    }
    const bool below = folded.size() > foldedPath.size() &&
                       folded.compare(0, foldedPath.size(), foldedPath) == 0 &&
                       (foldedPath.empty() || folded[foldedPath.size()] == u'\\');
    return below ? Relation::Below : Relation::Other;
}

RegistryText::KeyMatch RegistryText::FindKey(std::u16string_view foldedPath) const {
    KeyMatch match;
    for (const KeyBlock& key : keys_) {
        const Relation relation = Relate(key, foldedPath);
        if (relation == Relation::Same) {
            match.blocks.push_back(&key);
        }
        match.atOrBelow = match.atOrBelow || relation != Relation::Other;
    }
    return match;
}

std::vector<const KeyBlock*> RegistryText::LinkKeys() const {
    std::vector<const KeyBlock*> links;
    for (const KeyBlock& key : keys_) {
        if (key.isLink) {
            links.push_back(&key);
        }
    }
    return links;
}

std::string_view RegistryText::LineText(std::size_t line) const {
    return std::string_view(content_).substr(lines_[line].offset, lines_[line].textLength);
}

std::string_view RegistryText::RawLine(std::size_t line) const {
    return std::string_view(content_).substr(lines_[line].offset, lines_[line].fullLength);
}

std::string_view RegistryText::LineEnd(std::size_t line) const {
    return RawLine(line).substr(lines_[line].textLength);
}

std::string_view RegistryText::NewLineEnd() const {
    const std::string_view first = lines_.empty() ? std::string_view() : LineEnd(0);
    return first.ends_with('\n') ? first : "\n";
}

std::vector<Value> RegistryText::ReadValues(const KeyBlock& key) const {
    std::vector<Value> values;
    for (std::size_t i = key.headerLine + 1; i < key.endLine; ++i) {
        Value value;
        value.firstLine = i;
        value.endLine = i + 1;
        const std::optional<std::string_view> data = ValueData(LineText(i), value.name);
        const bool decoded = data && DecodeValue(*this, *data, key.endLine, value);
        i = value.endLine - 1;  // past a value's continuation lines, even a broken one's
        if (decoded) {
            values.push_back(std::move(value));
        }
    }
    return values;
}

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
