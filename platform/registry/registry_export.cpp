#include "platform/registry/registry_export_p.h"

#include <string_view>
#include <utility>

#include "platform/codepage.h"

namespace platform::registry_detail {

std::optional<ExportedTree> ReadRegExport(const std::string& bytes) {
    std::u16string units = Utf16LeUnits(bytes);
    if (!units.empty() && units.front() == u'\uFEFF') {
        units.erase(0, 1);
    }
    const std::string utf8 = Utf16ToUtf8(units);
    if (!utf8.starts_with("Windows Registry Editor Version 5.00")) {
        return std::nullopt;
    }
    // The value lines are written as in system.reg (with fewer escapes), so
    // the registry file's reader decodes them, under block headers of our
    // own: a key's path below the exported key, escaped as system.reg has it.
    std::string text = "WINE REGISTRY Version 2\n";
    std::string_view root;  // the exported key's name as reg wrote it
    bool inBlock = false;
    std::size_t start = 0;
    while (start < utf8.size()) {
        std::size_t end = utf8.find('\n', start);
        end = end == std::string::npos ? utf8.size() : end;
        std::string_view line = std::string_view(utf8).substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.starts_with('[') && line.ends_with(']')) {
            const std::string_view name = line.substr(1, line.size() - 2);
            std::string_view below;
            if (!inBlock) {
                root = name;
            } else if (name.starts_with(root) && name.size() > root.size() &&
                       name[root.size()] == '\\') {
                below = name.substr(root.size() + 1);
            } else {
                break;  // not below the exported key: no export of ours
            }
            inBlock = true;
            text += "[" + Escape(Utf8ToUtf16(below), "[]") + "] 0\n";
        } else if (inBlock) {
            text += line;
            text += '\n';
        }
    }
    if (!inBlock) {
        return std::nullopt;
    }
    const RegistryText file(std::move(text));
    ExportedTree tree;
    for (const KeyBlock& key : file.keys()) {
        auto values = file.ReadValues(key);
        auto& entry = tree[key.foldedPath];
        entry.insert(entry.end(), values.begin(), values.end());
    }
    return tree;
}

}  // namespace platform::registry_detail
