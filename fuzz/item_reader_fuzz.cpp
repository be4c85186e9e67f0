// Reading a tab's item file and its items' data files, all made of the input,
// from a throwaway prefix: any content gives one row per item line after the
// header, each with a cell for every column.
//
// Input: one byte choosing the tab (bits 0-1) and the raw figures (bit 2),
// then NUL-separated sections: the item file, the name table, and data files
// as "file name\ncontent".

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "loadwise/kitdata/game_paths.h"
#include "loadwise/kitdata/item_line.h"
#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/item_names.h"
#include "loadwise/kitdata/kit_files.h"
#include "platform/text_file.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxDataFiles = 32;

struct Prefix {
    fs::path root;
    fs::path kit;
    Prefix() {
        std::string pattern = (fs::temp_directory_path() / "item-reader-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        root = pattern;
        kit = root / "drive_c" / "Game" / "kit";
        fs::create_directories(kit);
        fs::create_directories(root / "dosdevices");
        fs::create_directory_symlink("../drive_c", root / "dosdevices" / "c:");
    }
    ~Prefix() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

Prefix& ThePrefix() {
    static Prefix prefix;
    return prefix;
}

void Write(const fs::path& file, std::string_view content) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::vector<std::string_view> Sections(std::string_view input) {
    std::vector<std::string_view> sections;
    for (;;) {
        const std::size_t at = input.find('\0');
        sections.push_back(input.substr(0, at));
        if (at == std::string_view::npos) {
            return sections;
        }
        input.remove_prefix(at + 1);
    }
}

// A plain file name, or "" when the text makes none.
std::string SafeName(std::string_view text) {
    std::string name;
    for (char c : text.substr(0, 40)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        if (plain) {
            name += c;
        }
    }
    return name == "." || name == ".." ? std::string() : name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const int tab = (data[0] & 3) % kitdata::kTabCount;
    kitdata::GamePaths paths;
    paths.m_bDevMode = (data[0] & 4) != 0;
    paths.m_strEquipmentPath = "C:\\Game\\kit\\";

    Prefix& prefix = ThePrefix();
    std::error_code ignored;
    fs::remove_all(prefix.kit, ignored);
    fs::create_directories(prefix.kit);

    const std::vector<std::string_view> sections =
        Sections(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    Write(prefix.kit / kitdata::ItemFileName(tab), sections[0]);
    std::vector<std::string> nameLines;
    if (sections.size() > 1) {
        Write(prefix.kit / "equipment.txt", sections[1]);
        nameLines = platform::ReadTextLines(prefix.kit / "equipment.txt").value();
    }
    for (std::size_t i = 2; i < sections.size() && i < 2 + kMaxDataFiles; ++i) {
        const std::size_t newline = sections[i].find('\n');
        const std::string name = SafeName(sections[i].substr(0, newline));
        if (!name.empty() && newline != std::string_view::npos) {
            Write(prefix.kit / name, sections[i].substr(newline + 1));
        }
    }

    const std::vector<std::string> names = kitdata::ParseItemNames(nameLines);
    platform::WinePrefix winePrefix;
    winePrefix.folder = prefix.root;
    const kitdata::ItemList list = kitdata::FillItemList(winePrefix, paths, names, tab);
    if (list.readError ||
        list.columns.size() != kitdata::ItemColumns(tab, paths.m_bDevMode).size()) {
        std::abort();
    }

    std::vector<std::string> keys;
    const auto itemLines = platform::ReadTextLines(prefix.kit / kitdata::ItemFileName(tab));
    for (const std::string& line : itemLines.value()) {
        if (kitdata::IsItemLine(line)) {
            keys.push_back(kitdata::ItemKey(line));
        }
    }
    const std::size_t rows = keys.empty() ? 0 : keys.size() - 1;
    if (list.rows.size() != rows) {
        std::abort();
    }
    for (std::size_t i = 0; i < rows; ++i) {
        const kitdata::ItemRow& row = list.rows[i];
        if (row.cells.size() != list.columns.size() ||
            row.cells[kitdata::kTextColumn] != keys[i + 1]) {
            std::abort();
        }
    }
    return 0;
}
