// The check list's sort, without a window.

#include "loadwise/window/check_list_model.h"

#include <gtest/gtest.h>

namespace loadwise {
namespace {

TEST(CheckListModelTest, SortsByTypeAndDirection) {
    struct Case {
        ColumnType type;
        std::vector<std::string> keys;
        int clicks;
        const char* after;  // the keys, then where each row was
    };
    const Case cases[] = {
        {ColumnType::Number, {"10", "9", "100"}, 1, "9,10,100, 102"},
        {ColumnType::Number, {"10", "9", "100"}, 2, "100,10,9, 201"},
        {ColumnType::Text, {"10", "9", "100"}, 1, "10,100,9, 021"},
        {ColumnType::Number, {"3", "None", "", "-1"}, 1, "-1,None,,3, 3120"},
        {ColumnType::Number, {"1e1", " 2.5x", "3"}, 1, " 2.5x,3,1e1, 120"},
        {ColumnType::Text, {"8-Bad", "1-Amazing", "5-Good"}, 1, "1-Amazing,5-Good,8-Bad, 120"},
        {ColumnType::Text, {"b", "A", "a", "B"}, 1, "A,a,b,B, 1203"},
        {ColumnType::Text, {"a", "\xE9", "_", "Z"}, 1, "_,a,Z,\xE9, 2031"},
        {ColumnType::Text, {"abc", "ab"}, 1, "ab,abc, 10"},
        // Rows are exchanged, not shifted: equal keys change their order.
        {ColumnType::Number, {"2", "2", "1"}, 1, "1,2,2, 210"}};
    for (const Case& c : cases) {
        CheckListModel list;
        list.InitCheckList();
        list.AddColumn("Key", c.type);
        list.AddColumn("Origin", ColumnType::Text);
        for (std::size_t i = 0; i < c.keys.size(); ++i) {
            list.SetCellText(list.AddRow(c.keys[i]), 1, std::to_string(i));
        }
        for (int click = 0; click < c.clicks; ++click) {
            list.SortByColumn(0);
        }
        std::string keys, origins;
        for (int row = 0; row < list.GetRowCount(); ++row) {
            keys += list.GetCellText(row, 0) + ",";
            origins += list.GetCellText(row, 1);
        }
        EXPECT_EQ(keys + " " + origins, c.after);
    }
}

}  // namespace
}  // namespace loadwise
