// Setting a text value in any registry file: the result reads back with the
// value set and every other key and value exactly as before.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "platform/codepage.h"
#include "platform/registry/registry_text_p.h"
#include "platform/registry/registry_writer_p.h"

namespace {

using namespace platform::registry_detail;
using platform::Cp1252ToUtf16;

struct Entry {
    std::u16string key;
    std::u16string name;
    std::uint32_t type;
    std::string data;
    bool operator==(const Entry&) const = default;
};

std::vector<Entry> AllValues(const RegistryText& file) {
    std::vector<Entry> entries;
    for (const KeyBlock& key : file.keys()) {
        for (const Value& value : file.ReadValues(key)) {
            entries.push_back({FoldRegistryNameCase(key.path), value.name, value.type, value.data});
        }
    }
    return entries;
}

std::string Utf16Le(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes + std::string(2, '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::size_t keyChoice = input.ConsumeIntegral<std::uint16_t>();
    const std::size_t valueChoice = input.ConsumeIntegral<std::uint16_t>();
    const bool existingName = input.ConsumeBool();
    std::u16string name = Cp1252ToUtf16(input.ConsumeRandomLengthString(24));
    const std::u16string text = Cp1252ToUtf16(input.ConsumeRandomLengthString(64));
    const RegistryText before(input.ConsumeRemainingBytesAsString());

    if (before.keys().empty()) {
        if (platform::registry_detail::WithStringValue(before, u"Software", name, text)) {
            std::abort();  // no key, no edit
        }
        return 0;
    }
    const KeyBlock& chosen = before.keys()[keyChoice % before.keys().size()];
    const std::u16string keyPath = FoldRegistryNameCase(chosen.path);
    if (existingName) {
        const auto values = before.ReadValues(chosen);
        if (!values.empty()) {
            name = values[valueChoice % values.size()].name;
        }
    }

    const auto edited = platform::registry_detail::WithStringValue(before, chosen.path, name, text);
    if (!edited) {
        std::abort();  // the key is there
    }
    const RegistryText after(*edited);

    // Same keys, in the same order.
    if (after.keys().size() != before.keys().size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < before.keys().size(); ++i) {
        if (after.keys()[i].path != before.keys()[i].path) {
            std::abort();
        }
    }

    // The values differ by the one set: the last of that name in the key
    // (whose spelling it keeps) is replaced, or a new one comes at the end of
    // the key's last block.
    const std::vector<Entry> old = AllValues(before);
    std::vector<Entry> expected = old;
    const std::u16string foldedName = FoldRegistryNameCase(name);
    std::size_t replaced = expected.size();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i].key == keyPath && FoldRegistryNameCase(expected[i].name) == foldedName) {
            replaced = i;
        }
    }
    const std::string newData = Utf16Le(text);
    if (replaced < expected.size()) {
        expected[replaced].type = kRegSz;
        expected[replaced].data = newData;
    } else {
        std::size_t insertAt = 0;
        for (std::size_t i = 0, k = 0; k < before.keys().size(); ++k) {
            const std::size_t count = before.ReadValues(before.keys()[k]).size();
            i += count;
            if (FoldRegistryNameCase(before.keys()[k].path) == keyPath) {
                insertAt = i;
            }
        }
        expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(insertAt),
                        {keyPath, name, kRegSz, newData});
    }
    if (AllValues(after) != expected) {
        std::abort();
    }

    // Setting it once more gives the same file.
    const auto again = platform::registry_detail::WithStringValue(after, chosen.path, name, text);
    if (!again || *again != *edited) {
        std::abort();
    }
    return 0;
}
