#pragma once
// Reads one tab's item file, and the data file of each item, into the rows
// and columns of that tab's check list.

#include <optional>
#include <string>
#include <vector>

#include "loadwise/kitdata/column_type.h"
#include "loadwise/kitdata/game_paths.h"
#include "platform/result.h"
#include "platform/wine_prefix.h"

namespace kitdata {

// Columns of every list; Primary and Secondary have all nine, Special the first three.
constexpr int kNameColumn = 0;
constexpr int kTextColumn = 1;  // the item's key and description file
constexpr int kFileColumn = 2;  // the item's data file
constexpr int kMagColumn = 3;
constexpr int kRofColumn = 4;
constexpr int kAccuracyColumn = 5;
constexpr int kRecoilColumn = 6;
constexpr int kReticleColumn = 7;
constexpr int kZoomColumn = 8;

struct ItemColumn {
    std::string heading;
    ColumnType type = ColumnType::Text;
    int width = 0;             // pixels; 0 hides the column
    bool ratingWords = false;  // the cells hold rating words ("1-Amazing" ...)
};

struct ItemRow {
    // One text per column of the list. cells[kTextColumn] is what Save and
    // the description box look the row up by.
    std::vector<std::string> cells;
    bool checked = false;
};

struct ItemList {
    std::vector<ItemColumn> columns;
    std::vector<ItemRow> rows;  // in file order
    // Set when the item file could not be read; the list then has its
    // columns and no rows.
    std::optional<platform::Error> readError;
};

// The columns of a tab's list, in order.
std::vector<ItemColumn> ItemColumns(int tab, bool devMode);

// Reads the tab's item file from paths.m_strEquipmentPath; names is the name
// table (LoadItemNames). Data files that cannot be read leave the item's
// figures empty and its text as its name, without a message.
ItemList FillItemList(const platform::WinePrefix& prefix, const GamePaths& paths,
                      const std::vector<std::string>& names, int tab);

}  // namespace kitdata
