// Reading Wine's registry file from any bytes: the lines cover the file
// exactly, key blocks and values lie inside it, every value converts as an
// "A" program reads it, and escaped text reads back as it was written.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "platform/registry/registry_text_p.h"

namespace {

using namespace platform::registry_detail;
using platform::Cp1252ToUtf16;
using platform::Utf16ToCp1252;

void CheckLines(const RegistryText& file) {
    std::string joined;
    for (std::size_t i = 0; i < file.LineCount(); ++i) {
        const std::string_view raw = file.RawLine(i);
        const std::string_view text = file.LineText(i);
        const std::string_view end = file.LineEnd(i);
        if (raw.substr(0, text.size()) != text || raw.substr(text.size()) != end) {
            std::abort();
        }
        if (text.find('\n') != std::string_view::npos) {
            std::abort();
        }
        if (i + 1 < file.LineCount() && end.empty()) {
            std::abort();  // only the last line may lack its line end
        }
        joined += raw;
    }
    if (joined != file.content()) {
        std::abort();
    }
}

void CheckKeys(const RegistryText& file) {
    std::size_t previousEnd = 0;
    for (const KeyBlock& key : file.keys()) {
        if (key.headerLine < previousEnd || key.headerLine >= key.endLine ||
            key.endLine > file.LineCount() || key.lastContentLine < key.headerLine ||
            key.lastContentLine >= key.endLine) {
            std::abort();
        }
        previousEnd = key.endLine;
        // The lookups on escaped names find what the unescaped names say.
        const auto blocks = file.FindKey(key.foldedPath).blocks;
        std::size_t same = 0;
        for (const KeyBlock& other : file.keys()) {
            same += other.foldedPath == key.foldedPath ? 1 : 0;
        }
        if (blocks.size() != same ||
            std::find(blocks.begin(), blocks.end(), &key) == blocks.end()) {
            std::abort();
        }
        const std::size_t parentEnd = key.foldedPath.rfind(u'\\');
        if (!file.FindKey(key.foldedPath).atOrBelow ||
            (parentEnd != std::u16string::npos && parentEnd > 0 &&
             !file.FindKey(std::u16string_view(key.foldedPath).substr(0, parentEnd)).atOrBelow)) {
            std::abort();
        }
        std::size_t previousValueEnd = key.headerLine + 1;
        for (const Value& value : file.ReadValues(key)) {
            if (value.firstLine < previousValueEnd || value.firstLine >= value.endLine ||
                value.endLine > key.endLine) {
                std::abort();
            }
            previousValueEnd = value.endLine;
            const std::string ansi = AnsiData(value.type, value.data);
            if ((value.type == kRegSz || value.type == kRegExpandSz) && !value.data.empty() &&
                (ansi.empty() || ansi.back() != '\0')) {
                std::abort();  // text keeps its terminating zero
            }
        }
    }
}

// Escape and ParseEscaped are each other's inverse for any UTF-16 text.
void CheckEscapeRoundTrip(std::u16string_view text) {
    for (std::string_view extra : {std::string_view("\"\""), std::string_view("[]")}) {
        const std::string escaped = Escape(text, extra);
        const char endChar = extra[1];
        const std::string source = escaped + endChar + "tail";
        std::u16string back;
        const auto length = ParseEscaped(source, endChar, back);
        if (!length || *length != escaped.size() || back != text) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    const RegistryText file(content);
    CheckLines(file);
    CheckKeys(file);

    FuzzedDataProvider input(data, size);
    std::u16string units;
    while (input.remaining_bytes() >= 2 && units.size() < 256) {
        units += static_cast<char16_t>(input.ConsumeIntegral<std::uint16_t>());
    }
    CheckEscapeRoundTrip(units);
    CheckEscapeRoundTrip(Cp1252ToUtf16(content.substr(0, 256)));

    // Text through the code page and back keeps every byte Windows-1252 defines.
    const std::u16string wide = Cp1252ToUtf16(content.substr(0, 256));
    if (Utf16ToCp1252(wide).size() != wide.size()) {
        std::abort();
    }
    return 0;
}
