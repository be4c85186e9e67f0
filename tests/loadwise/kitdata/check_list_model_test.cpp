// The check list's rows, checks and sort, without a window.

#include "loadwise/kitdata/check_list_model.h"

#include <gtest/gtest.h>

#include "loadwise/kitdata/check_hit_rule.h"
#include "loadwise/kitdata/selected_count.h"

namespace kitdata {
namespace {

// A list of one column of the given type holding the keys, each row's
// second column naming its original position.
CheckListModel ListOf(ColumnType type, const std::vector<std::string>& keys) {
    CheckListModel list;
    list.InitCheckList();
    list.AddColumn("Key", type);
    list.AddColumn("Origin", ColumnType::Text);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const int row = list.AddRow(keys[i]);
        list.SetCellText(row, 1, std::to_string(i));
    }
    return list;
}

std::string Column(const CheckListModel& list, int column) {
    std::string texts;
    for (int row = 0; row < list.GetRowCount(); ++row) {
        texts += (row == 0 ? "" : ",") + list.GetCellText(row, column);
    }
    return texts;
}

TEST(CheckListModelTest, SortsByTypeAndDirection) {
    struct Case {
        const char* name;
        ColumnType type;
        std::vector<std::string> keys;
        int clicks;  // on column 0
        const char* keysAfter;
        const char* originsAfter;
    };
    const Case cases[] = {
        {"numbers ascending", ColumnType::Number, {"10", "9", "100"}, 1, "9,10,100", "1,0,2"},
        {"numbers descending", ColumnType::Number, {"10", "9", "100"}, 2, "100,10,9", "2,0,1"},
        {"text is not numeric", ColumnType::Text, {"10", "9", "100"}, 1, "10,100,9", "0,2,1"},
        {"None and empty are 0",
         ColumnType::Number,
         {"3", "None", "", "-1"},
         1,
         "-1,None,,3",
         "3,1,2,0"},
        {"rating words by digit",
         ColumnType::Text,
         {"8-Bad", "1-Amazing", "5-Good"},
         1,
         "1-Amazing,5-Good,8-Bad",
         "1,2,0"},
        {"case-insensitive", ColumnType::Text, {"b", "A", "a", "B"}, 1, "A,a,b,B", "1,2,0,3"},
        {"underscore before letters", ColumnType::Text, {"a", "_", "Z"}, 1, "_,a,Z", "1,0,2"},
        {"prefix is smaller", ColumnType::Text, {"abc", "ab"}, 1, "ab,abc", "1,0"},
        // Rows are exchanged, not shifted: equal keys change their order.
        {"not stable", ColumnType::Number, {"2", "2", "1"}, 1, "1,2,2", "2,1,0"},
        {"empty", ColumnType::Text, {}, 1, "", ""},
        {"one row", ColumnType::Text, {"x"}, 2, "x", "0"},
        {"numeric prefix", ColumnType::Number, {"1e1", " 2.5x", "3"}, 1, " 2.5x,3,1e1", "1,2,0"},
    };
    for (const Case& c : cases) {
        CheckListModel list = ListOf(c.type, c.keys);
        for (int click = 0; click < c.clicks; ++click) {
            list.SortByColumn(0);
        }
        EXPECT_EQ(Column(list, 0), c.keysAfter) << c.name;
        EXPECT_EQ(Column(list, 1), c.originsAfter) << c.name;
        EXPECT_EQ(list.SortColumn(), 0) << c.name;
        EXPECT_EQ(list.SortDirection(), c.clicks % 2 == 1 ? 1 : -1) << c.name;
    }
}

TEST(CheckListModelTest, DirectionCarriesOverToAnotherColumn) {
    struct Case {
        std::vector<int> clicks;
        int direction;
    };
    const Case cases[] = {
        {{0}, 1}, {{0, 0}, -1}, {{0, 1}, 1}, {{0, 0, 1}, -1}, {{0, 0, 0}, 1}, {{0, 0, 1, 1}, 1},
    };
    for (const Case& c : cases) {
        CheckListModel list = ListOf(ColumnType::Text, {"b", "a", "c"});
        for (int column : c.clicks) {
            list.SortByColumn(column);
        }
        EXPECT_EQ(list.SortDirection(), c.direction) << c.clicks.size();
        EXPECT_EQ(list.SortColumn(), c.clicks.back());
    }
}

TEST(CheckListModelTest, ChecksMoveWithTheirRows) {
    CheckListModel list = ListOf(ColumnType::Text, {"c", "b", "a"});
    list.SetCheck(0, true);
    list.SortByColumn(0);
    EXPECT_EQ(Column(list, 0), "a,b,c");
    EXPECT_FALSE(list.GetCheck(0));
    EXPECT_FALSE(list.GetCheck(1));
    EXPECT_TRUE(list.GetCheck(2));
}

TEST(CheckListModelTest, CheckStates) {
    CheckListModel list = ListOf(ColumnType::Text, {"a"});
    EXPECT_FALSE(list.GetCheck(0));  // new rows are unticked
    list.ToggleCheck(0);
    EXPECT_TRUE(list.GetCheck(0));
    list.ToggleCheck(0);
    EXPECT_FALSE(list.GetCheck(0));
    // Outside the rows: nothing happens and nothing is ticked.
    EXPECT_FALSE(list.SetCheck(1, true));
    EXPECT_FALSE(list.SetCheck(-1, true));
    EXPECT_FALSE(list.GetCheck(1));
    list.ToggleCheck(5);
    EXPECT_EQ(list.GetRowCount(), 1);
}

TEST(CheckListModelTest, CellsAndColumns) {
    CheckListModel list = ListOf(ColumnType::Text, {"a"});
    const std::string longText(300, 'x');
    EXPECT_TRUE(list.SetCellText(0, 1, longText));
    EXPECT_EQ(list.GetCellText(0, 1), std::string(259, 'x'));
    EXPECT_FALSE(list.SetCellText(0, 2, "no column"));
    EXPECT_FALSE(list.SetCellText(1, 0, "no row"));
    EXPECT_EQ(list.GetCellText(3, 0), "");
    EXPECT_EQ(list.ColumnWidth(0), 100);
    list.SetColumnWidth(1, 0);
    list.SetColumnWidth(7, 50);
    EXPECT_EQ(list.ColumnWidth(1), 0);
    EXPECT_EQ(list.GetColumnCount(), 2);
    // A sort never cuts a long text.
    list.AddRow("b");
    list.SetCellText(1, 1, "y");
    list.SortByColumn(0);
    list.SortByColumn(0);
    EXPECT_EQ(list.GetCellText(1, 1), std::string(259, 'x'));
    list.SortByColumn(0);
    EXPECT_EQ(list.GetCellText(0, 1), std::string(259, 'x'));
    // Columns that were never added are not sorted by.
    list.SortByColumn(5);
    EXPECT_EQ(list.SortColumn(), 0);
}

TEST(CheckListModelTest, HundredColumnsAtMost) {
    CheckListModel list;
    list.InitCheckList();
    for (int column = 0; column < kMaxColumns; ++column) {
        ASSERT_TRUE(list.AddColumn("c", ColumnType::Number));
    }
    EXPECT_FALSE(list.AddColumn("one too many", ColumnType::Text));
    EXPECT_EQ(list.GetColumnCount(), kMaxColumns);
}

TEST(CheckHitRuleTest, OnlyTheCheckBoxToggles) {
    EXPECT_TRUE(PressTogglesCheck(ListHit::CheckBox));
    EXPECT_FALSE(PressTogglesCheck(ListHit::Text));
    EXPECT_FALSE(PressTogglesCheck(ListHit::Nowhere));
}

TEST(SelectedCountTest, CounterAndLimits) {
    struct Case {
        int tab;
        int ticked;
        bool multiplayerOnly;
        int shown;
        bool acceptable;
    };
    const Case cases[] = {
        {0, 0, false, 0, false},   {0, 1, false, 1, true},    {0, 32, false, 32, true},
        {0, 33, false, 33, false}, {0, 33, true, 33, true},   {0, 0, true, 0, false},
        {1, 32, false, 32, true},  {1, 500, true, 500, true}, {2, 0, false, 1, true},
        {2, 31, false, 32, true},  {2, 32, false, 33, false}, {2, 32, true, 33, true},
    };
    for (const Case& c : cases) {
        const int shown = SelectedCount(c.tab, c.ticked);
        EXPECT_EQ(shown, c.shown) << c.tab << " " << c.ticked;
        EXPECT_EQ(IsCountAcceptable(shown, c.multiplayerOnly), c.acceptable)
            << c.tab << " " << c.ticked << " " << c.multiplayerOnly;
    }
    EXPECT_TRUE(IsSaveAllowed({true, true, true}));
    EXPECT_FALSE(IsSaveAllowed({true, false, true}));
}

}  // namespace
}  // namespace kitdata
