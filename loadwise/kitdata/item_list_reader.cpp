#include "loadwise/kitdata/item_list_reader.h"

#include <climits>

#include "loadwise/kitdata/field_parser.h"
#include "loadwise/kitdata/game_folder.h"
#include "loadwise/kitdata/item_line.h"
#include "loadwise/kitdata/kit_files.h"
#include "loadwise/kitdata/rating.h"
#include "platform/text_file.h"
#include "platform/windows_path.h"

namespace kitdata {
namespace {

constexpr int kNameWidth = 140;
constexpr int kSmallFigureWidth = 42;
constexpr int kRatingWidth = 78;

bool HasWeaponFigures(int tab) {
    return tab == kPrimaryTab || tab == kSecondaryTab;
}

// atoi: an optional sign and the leading digits; no digits give 0. Values
// beyond int saturate instead of overflowing.
int LeadingInteger(std::string_view text) {
    std::size_t pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > INT_MAX) {
            return negative ? INT_MIN : INT_MAX;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

// Line n (from 1) of a data file; a line that is not there reads as "".
std::string_view DataLine(const std::vector<std::string>& lines, std::size_t n) {
    return n <= lines.size() ? std::string_view(lines[n - 1]) : std::string_view();
}

std::string Figure(const std::vector<std::string>& lines, std::size_t n) {
    return CFieldParser::GetTrimmedField(DataLine(lines, n), 1, '/');
}

std::string SpecialDisplayName(std::string name) {
    if (name == "ex_primmags.txt") {
        return "Primary Magazine";
    }
    if (name == "ex_secmags.txt") {
        return "Secondary Magazine";
    }
    if (name == "ex_emptykit.txt") {
        return "Empty";
    }
    return name;
}

// Fills the name and the figures of a row from its data file's lines.
void ApplyDataFile(const std::vector<std::string>& lines, const std::vector<std::string>& names,
                   int tab, bool devMode, std::string& name, std::vector<std::string>& cells) {
    const int index = LeadingInteger(CFieldParser::GetTrimmedField(DataLine(lines, 1), 1, ' '));
    // An index outside the table keeps the item's text as its name.
    if (index >= 0 && static_cast<std::size_t>(index) < names.size()) {
        name = names[static_cast<std::size_t>(index)];
    }
    if (!HasWeaponFigures(tab)) {
        return;
    }
    cells[kMagColumn] = Figure(lines, 3);
    cells[kRofColumn] = Figure(lines, 4);
    const std::string accuracy = Figure(lines, 15);
    const std::string recoil = Figure(lines, 16);
    const std::string reticle = Figure(lines, 17);
    if (devMode) {
        cells[kAccuracyColumn] = accuracy;
        cells[kRecoilColumn] = recoil;
        cells[kReticleColumn] = reticle;
    } else {
        cells[kAccuracyColumn] = RateFigure(RatedFigure::Accuracy, accuracy);
        cells[kRecoilColumn] = RateRecoil(recoil, cells[kRofColumn]);
        cells[kReticleColumn] = RateFigure(RatedFigure::Reticle, reticle);
    }
    cells[kZoomColumn] = Figure(lines, 19);
}

}  // namespace

std::vector<ItemColumn> ItemColumns(int tab, bool devMode) {
    std::vector<ItemColumn> columns = {
        {"Name", ColumnType::Text, kNameWidth},
        {"Text", ColumnType::Text, 0},
        {"File", ColumnType::Text, 0},
    };
    if (HasWeaponFigures(tab)) {
        const ColumnType rated = devMode ? ColumnType::Number : ColumnType::Text;
        const bool words = !devMode;
        columns.push_back({"Mag", ColumnType::Number, kSmallFigureWidth});
        columns.push_back({"RoF", ColumnType::Number, kSmallFigureWidth});
        columns.push_back({"Accuracy", rated, kRatingWidth, words});
        columns.push_back({"Recoil", rated, kRatingWidth, words});
        columns.push_back({"Reticle", rated, kRatingWidth, words});
        columns.push_back({"Zoom", ColumnType::Number, kSmallFigureWidth});
    }
    return columns;
}

ItemList FillItemList(const platform::WinePrefix& prefix, const GamePaths& paths,
                      const std::vector<std::string>& names, int tab) {
    ItemList list;
    list.columns = ItemColumns(tab, paths.m_bDevMode);

    auto itemLines =
        platform::ReadTextLines(platform::ResolveWindowsPath(prefix, ItemFilePath(paths, tab)));
    if (!itemLines) {
        list.readError = itemLines.error();
        return list;
    }

    const GameFolder equipment(prefix, paths.m_strEquipmentPath);
    bool headerSeen = false;
    bool commented = false;
    for (std::string_view line : itemLines.value()) {
        if (line.starts_with("//\"")) {
            line.remove_prefix(2);
            commented = true;
        }
        if (!line.starts_with('"')) {
            continue;
        }
        if (!headerSeen) {
            // The header makes no row; a commented header leaves the next row unticked.
            headerSeen = true;
            continue;
        }

        ItemRow row;
        row.cells.resize(list.columns.size());
        const std::string text = CFieldParser::GetField(line, 2, '"');
        const std::string file = CFieldParser::GetField(line, 6, '"');
        row.cells[kTextColumn] = text;
        row.cells[kFileColumn] = file;
        std::string name = text;
        // An empty file name would name the equipment folder itself.
        if (!file.empty()) {
            const auto dataLines = equipment.ReadLines(file);
            if (dataLines) {
                ApplyDataFile(dataLines.value(), names, tab, paths.m_bDevMode, name, row.cells);
            }
        }
        row.cells[kNameColumn] = SpecialDisplayName(std::move(name));
        row.checked = !commented;
        commented = false;
        list.rows.push_back(std::move(row));
    }
    return list;
}

}  // namespace kitdata
