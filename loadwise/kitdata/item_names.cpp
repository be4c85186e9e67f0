#include "loadwise/kitdata/item_names.h"

#include "loadwise/kitdata/field_parser.h"
#include "platform/text_file.h"
#include "platform/windows_path.h"

namespace kitdata {

std::vector<std::string> ParseItemNames(const std::vector<std::string>& lines) {
    std::vector<std::string> names;
    for (const std::string& line : lines) {
        if (line.starts_with('"')) {
            names.push_back(CFieldParser::GetField(line, 2, '"'));
        }
    }
    return names;
}

platform::Result<std::vector<std::string>> LoadItemNames(const platform::WinePrefix& prefix,
                                                         const GamePaths& paths) {
    auto lines = platform::ReadTextLines(
        platform::ResolveWindowsPath(prefix, paths.m_strEquipTextPath + "equipment.txt"));
    if (!lines) {
        return lines.error();
    }
    return ParseItemNames(lines.value());
}

std::string ReadDescription(const platform::WinePrefix& prefix, const GamePaths& paths,
                            std::string_view itemText) {
    // An empty text would name the folder itself, which is no description.
    if (itemText.empty()) {
        return kNoDescription;
    }
    const auto lines = platform::ReadTextLines(
        platform::ResolveWindowsPath(prefix, paths.m_strEquipTextPath + std::string(itemText)));
    if (!lines) {
        return kNoDescription;
    }
    std::string description;
    for (const std::string& line : lines.value()) {
        description += line;
    }
    return description;
}

}  // namespace kitdata
