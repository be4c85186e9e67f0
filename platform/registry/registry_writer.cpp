#include "platform/registry/registry_writer_p.h"

#include <algorithm>

namespace platform::registry_detail {
namespace {

using registry_detail::FoldRegistryNameCase;
using registry_detail::RegistryText;

std::size_t OffsetOf(const RegistryText& file, std::size_t line) {
    if (line >= file.LineCount()) {
        return file.content().size();
    }
    return static_cast<std::size_t>(file.RawLine(line).data() - file.content().data());
}

// The length of a value line's leading part up to and including its '='.
std::size_t NameTokenLength(std::string_view line) {
    std::size_t i = line.find_first_not_of(" \t");
    if (line[i] == '"') {
        std::u16string ignored;
        i += *registry_detail::ParseEscaped(line.substr(i + 1), '"', ignored) + 2;
    } else {
        ++i;  // '@'
    }
    return line.find('=', i) + 1;
}

}  // namespace

std::optional<std::string> WithStringValue(const RegistryText& file, std::u16string_view keyPath,
                                           std::u16string_view name, std::u16string_view text) {
    const std::u16string foldedKey =
        FoldRegistryNameCase(registry_detail::TrimTrailingBackslashes(keyPath));
    const std::u16string foldedName = FoldRegistryNameCase(name);

    const registry_detail::KeyBlock* block = nullptr;
    std::size_t valuesEnd = 0;  // the line after the block's last value
    std::optional<registry_detail::Value> existing;
    for (const auto& key : file.keys()) {
        if (key.foldedPath != foldedKey) {
            continue;
        }
        block = &key;
        valuesEnd = key.headerLine + 1;
        // A name given twice: wineserver keeps the later one, so replace that.
        for (auto& value : file.ReadValues(key)) {
            valuesEnd = std::max(valuesEnd, value.endLine);
            if (FoldRegistryNameCase(value.name) == foldedName) {
                existing = std::move(value);
            }
        }
    }
    if (block == nullptr) {
        return std::nullopt;
    }

    const std::string data = "\"" + registry_detail::Escape(text, "\"\"") + "\"";
    const std::string& content = file.content();
    std::string result;
    result.reserve(content.size() + data.size() + name.size() + 8);

    if (existing) {
        // Keep the name as it is spelled in the file, up to and including '='.
        const std::string_view firstLine = file.LineText(existing->firstLine);
        const std::string_view nameToken = firstLine.substr(0, NameTokenLength(firstLine));
        const std::size_t begin = OffsetOf(file, existing->firstLine);
        const std::size_t end = OffsetOf(file, existing->endLine);
        result.append(content, 0, begin);
        result.append(nameToken);
        result.append(data);
        result.append(file.LineEnd(existing->endLine - 1));
        result.append(content, end);
        return result;
    }

    const std::string_view fileLineEnd = file.NewLineEnd();
    const std::string nameToken =
        name.empty() ? "@=" : "\"" + registry_detail::Escape(name, "\"\"") + "\"=";
    // After the block's last line; a binary value continued onto blank lines
    // ends after them.
    const std::size_t insertLine = std::max(block->lastContentLine + 1, valuesEnd);
    const std::size_t insertAt = OffsetOf(file, insertLine);
    result.append(content, 0, insertAt);
    if (!file.LineEnd(insertLine - 1).ends_with('\n')) {
        // The file ended without a line end (or with a lone CR, which ends no
        // line): the new value would run on in the last line.
        result.append(fileLineEnd);
    }
    // A line left continued by a backslash would take the new value for its
    // continuation and lose both: a blank line ends it.
    std::string_view before = file.LineText(insertLine - 1);
    while (!before.empty() && (before.back() == ' ' || before.back() == '\t')) {
        before.remove_suffix(1);
    }
    if (before.ends_with('\\')) {
        result.append(fileLineEnd);
    }
    result.append(nameToken);
    result.append(data);
    result.append(fileLineEnd);
    result.append(content, insertAt);
    return result;
}

}  // namespace platform::registry_detail
