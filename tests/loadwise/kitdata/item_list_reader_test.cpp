// Reading the item files and data files into the rows of the three lists.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/kit_files.h"
#include "sample_kit.h"

namespace kitdata {
namespace {

using kitdatatest::DataFileText;
using kitdatatest::EquipmentFile;
using kitdatatest::JoinLines;
using kitdatatest::SamplePaths;
using testsupport::FakeInstallation;

class ItemListReaderTest : public ::testing::Test {
  protected:
    // Writes the Primary item file from lines (a header first is the caller's).
    void WritePrimary(const std::vector<std::string>& lines, const std::string& lineEnd = "\r\n") {
        installation_.WriteFile(EquipmentFile(installation_, "primarymp.itm"),
                                JoinLines(lines, lineEnd));
    }
    void WriteData(const std::string& name, const std::string& content) {
        installation_.WriteFile(EquipmentFile(installation_, name), content);
    }
    ItemList Fill(int tab = kPrimaryTab) {
        return FillItemList(installation_.prefix(), paths_, names_, tab);
    }

    FakeInstallation installation_;
    GamePaths paths_ = SamplePaths(installation_);
    std::vector<std::string> names_ = {"Zero", "One", "Two", "Three"};
};

TEST_F(ItemListReaderTest, ColumnsOfEachTab) {
    struct Expected {
        const char* heading;
        ColumnType type;
        ColumnType devType;
        int width;
    };
    const Expected weapons[] = {
        {"Name", ColumnType::Text, ColumnType::Text, 140},
        {"Text", ColumnType::Text, ColumnType::Text, 0},
        {"File", ColumnType::Text, ColumnType::Text, 0},
        {"Mag", ColumnType::Number, ColumnType::Number, 42},
        {"RoF", ColumnType::Number, ColumnType::Number, 42},
        {"Accuracy", ColumnType::Text, ColumnType::Number, 78},
        {"Recoil", ColumnType::Text, ColumnType::Number, 78},
        {"Reticle", ColumnType::Text, ColumnType::Number, 78},
        {"Zoom", ColumnType::Number, ColumnType::Number, 42},
    };
    for (int tab : {kPrimaryTab, kSecondaryTab, kSpecialTab}) {
        for (bool devMode : {false, true}) {
            const std::vector<ItemColumn> columns = ItemColumns(tab, devMode);
            ASSERT_EQ(columns.size(), tab == kSpecialTab ? 3u : 9u);
            for (std::size_t i = 0; i < columns.size(); ++i) {
                EXPECT_EQ(columns[i].heading, weapons[i].heading);
                EXPECT_EQ(columns[i].type, devMode ? weapons[i].devType : weapons[i].type)
                    << columns[i].heading;
                EXPECT_EQ(columns[i].width, weapons[i].width) << columns[i].heading;
            }
        }
    }
}

TEST_F(ItemListReaderTest, HeaderMakesNoRowAndCommentedLinesStartUnticked) {
    WritePrimary({"\"header\"", "\"a.txt\" \"A\" \"a.atr\"", "//\"b.txt\" \"B\" \"b.atr\""});
    const ItemList list = Fill();
    ASSERT_FALSE(list.readError);
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[0].cells[kTextColumn], "a.txt");
    EXPECT_EQ(list.rows[0].cells[kFileColumn], "a.atr");
    EXPECT_TRUE(list.rows[0].checked);
    EXPECT_EQ(list.rows[1].cells[kTextColumn], "b.txt");
    EXPECT_FALSE(list.rows[1].checked);
    EXPECT_EQ(list.rows[0].cells.size(), 9u);
    EXPECT_EQ(list.rows[1].cells.size(), 9u);
}

TEST_F(ItemListReaderTest, CommentedHeaderLeavesTheNextRowUnticked) {
    WritePrimary({"//\"header\"", "\"a.txt\"", "\"b.txt\"", "//\"c.txt\"", "\"d.txt\""});
    const ItemList list = Fill();
    ASSERT_EQ(list.rows.size(), 4u);
    EXPECT_FALSE(list.rows[0].checked);
    EXPECT_TRUE(list.rows[1].checked);
    EXPECT_FALSE(list.rows[2].checked);
    EXPECT_TRUE(list.rows[3].checked);
}

TEST_F(ItemListReaderTest, OnlyLinesBeginningExactlyWithAQuoteMakeRows) {
    WritePrimary({"// comment", "", "[Section]", "\"header\"", " \"blank.txt\"",
                  "// \"spaced.txt\"", "\t\"tab.txt\"", "///\"three.txt\"", "\"kept.txt\"",
                  "//\"off.txt\""});
    const ItemList list = Fill();
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[0].cells[kTextColumn], "kept.txt");
    EXPECT_EQ(list.rows[1].cells[kTextColumn], "off.txt");
}

TEST_F(ItemListReaderTest, FiguresComeFromTheirDataFileLines) {
    WritePrimary({"\"header\"", "\"mp5.txt\" \"MP5\" \"mp5.atr\""});
    WriteData("mp5.atr", DataFileText(2, "30", "800", "0.45", "1.6", "0.9", "1.5"));
    const ItemList list = Fill();
    ASSERT_EQ(list.rows.size(), 1u);
    const std::vector<std::string> expected = {"Two",         "mp5.txt",       "mp5.atr",
                                               "30",          "800",           "2-Outstanding",
                                               "3-Excellent", "2-Outstanding", "1.5"};
    EXPECT_EQ(list.rows[0].cells, expected);
}

TEST_F(ItemListReaderTest, DevModeShowsTheRawTrimmedFigures) {
    paths_.m_bDevMode = true;
    WritePrimary({"\"header\"", "\"a.txt\" \"A\" \"a.atr\"", "\"b.txt\" \"B\" \"b.atr\""});
    WriteData("a.atr", DataFileText(1, "30", "800", "0.45", "1.6", "0.9", "1.5"));
    WriteData("b.atr", DataFileText(1, "5", "1", "12", "5", "0.2", "10"));
    const ItemList list = Fill();
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[0].cells[kAccuracyColumn], "0.45");
    EXPECT_EQ(list.rows[0].cells[kRecoilColumn], "1.6");
    EXPECT_EQ(list.rows[0].cells[kReticleColumn], "0.9");
    EXPECT_EQ(list.rows[1].cells[kRecoilColumn], "5");  // never "None" in dev mode
    EXPECT_EQ(list.rows[1].cells[kAccuracyColumn], "12");
}

TEST_F(ItemListReaderTest, RecoilReadsNoneWhenTheRateOfFireIsOne) {
    WritePrimary({"\"header\"", "\"a.txt\" \"A\" \"a.atr\"", "\"b.txt\" \"B\" \"b.atr\""});
    WriteData("a.atr", DataFileText(1, "5", "1", "0.1", "5", "0.2", "10"));
    WriteData("b.atr", DataFileText(1, "5", "1.0", "0.1", "5", "0.2", "10"));
    const ItemList list = Fill();
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.rows[0].cells[kRecoilColumn], "None");
    EXPECT_EQ(list.rows[1].cells[kRecoilColumn], "8-Bad");
}

TEST_F(ItemListReaderTest, ShortOrEmptyDataFileGivesEmptyFiguresAndRatedZeroes) {
    WritePrimary({"\"header\"", "\"a.txt\" \"A\" \"a.atr\"", "\"b.txt\" \"B\" \"b.atr\""});
    WriteData("a.atr", "");
    WriteData("b.atr", " 3 starts with a blank\r\nx\r\n7 // mag\r\n");
    const ItemList list = Fill();
    ASSERT_EQ(list.rows.size(), 2u);
    const std::vector<std::string> empty = {"Zero",      "a.txt",     "a.atr",     "", "",
                                            "1-Amazing", "1-Amazing", "1-Amazing", ""};
    EXPECT_EQ(list.rows[0].cells, empty);
    EXPECT_EQ(list.rows[1].cells[kNameColumn], "Zero");  // first field before the blank is empty
    EXPECT_EQ(list.rows[1].cells[kMagColumn], "7");
}

TEST_F(ItemListReaderTest, NameIndexOutsideTheTableKeepsTheItemText) {
    WritePrimary({"\"header\"", "\"neg.txt\" \"\" \"neg.atr\"", "\"big.txt\" \"\" \"big.atr\"",
                  "\"huge.txt\" \"\" \"huge.atr\"", "\"last.txt\" \"\" \"last.atr\""});
    WriteData("neg.atr", "-1\r\n");
    WriteData("big.atr", "4\r\n");
    WriteData("huge.atr", "99999999999999999999\r\n");
    WriteData("last.atr", "+3abc\r\n");
    const ItemList list = Fill();
    ASSERT_EQ(list.rows.size(), 4u);
    EXPECT_EQ(list.rows[0].cells[kNameColumn], "neg.txt");
    EXPECT_EQ(list.rows[1].cells[kNameColumn], "big.txt");
    EXPECT_EQ(list.rows[2].cells[kNameColumn], "huge.txt");
    EXPECT_EQ(list.rows[3].cells[kNameColumn], "Three");

    names_.clear();
    const ItemList noNames = Fill();
    EXPECT_EQ(noNames.rows[3].cells[kNameColumn], "last.txt");
}

TEST_F(ItemListReaderTest, SpecialDisplayNamesReplaceExactMatchesOnly) {
    WritePrimary({"\"header\"", "\"ex_primmags.txt\" \"\" \"missing.atr\"",
                  "\"ex_secmags.txt\" \"\" \"\"", "\"ex_emptykit.txt\"", "\"EX_EMPTYKIT.TXT\"",
                  "\"ex_primmags.txt\" \"\" \"named.atr\""});
    WriteData("named.atr", "1\r\n");
    const ItemList list = Fill();
    ASSERT_EQ(list.rows.size(), 5u);
    EXPECT_EQ(list.rows[0].cells[kNameColumn], "Primary Magazine");
    EXPECT_EQ(list.rows[0].cells[kTextColumn], "ex_primmags.txt");
    EXPECT_EQ(list.rows[0].cells[kMagColumn], "");
    EXPECT_EQ(list.rows[1].cells[kNameColumn], "Secondary Magazine");
    EXPECT_EQ(list.rows[2].cells[kNameColumn], "Empty");
    EXPECT_EQ(list.rows[3].cells[kNameColumn], "EX_EMPTYKIT.TXT");
    EXPECT_EQ(list.rows[4].cells[kNameColumn], "One");
}

TEST_F(ItemListReaderTest, SpecialTabReadsOnlyTheName) {
    installation_.WriteFile(EquipmentFile(installation_, "specialmp.itm"),
                            JoinLines({"\"header\"", "\"flash.txt\" \"\" \"flash.atr\""}));
    WriteData("flash.atr", DataFileText(3, "30", "800", "0.45", "1.6", "0.9", "1.5"));
    const ItemList list = Fill(kSpecialTab);
    ASSERT_EQ(list.columns.size(), 3u);
    ASSERT_EQ(list.rows.size(), 1u);
    EXPECT_EQ(list.rows[0].cells, (std::vector<std::string>{"Three", "flash.txt", "flash.atr"}));
}

TEST_F(ItemListReaderTest, FilesAreFoundWhateverTheirLetterCaseOnDisk) {
    // A folder of our own: the installation already has the game's folders
    // with their usual spelling, which would win over an upper-case one.
    paths_.m_strEquipmentPath = "C:\\Kit\\Equipment\\";
    const std::string upperFolder = "C:\\KIT\\EQUIPMENT";
    installation_.WriteFile(upperFolder + "\\PRIMARYMP.ITM",
                            JoinLines({"\"header\"", "\"a.txt\" \"\" \"Mixed.ATR\""}));
    installation_.WriteFile(upperFolder + "\\mixed.atr", "1\r\n\r\n8\r\n");
    const ItemList list = Fill();
    ASSERT_FALSE(list.readError);
    ASSERT_EQ(list.rows.size(), 1u);
    EXPECT_EQ(list.rows[0].cells[kNameColumn], "One");
    EXPECT_EQ(list.rows[0].cells[kMagColumn], "8");
}

TEST_F(ItemListReaderTest, LineEndsOfAnyKindReadTheSame) {
    for (const std::string lineEnd : {"\n", "\r\n"}) {
        WritePrimary({"\"header\"", "\"a.txt\" \"\" \"a.atr\"", "//\"b.txt\""}, lineEnd);
        WriteData("a.atr", "2\n\n30\r\n800");
        const ItemList list = Fill();
        ASSERT_EQ(list.rows.size(), 2u) << "line end " << lineEnd.size();
        EXPECT_EQ(list.rows[0].cells[kNameColumn], "Two");
        EXPECT_EQ(list.rows[0].cells[kMagColumn], "30");
        EXPECT_EQ(list.rows[0].cells[kRofColumn], "800");
        EXPECT_EQ(list.rows[1].cells[kTextColumn], "b.txt");
        EXPECT_FALSE(list.rows[1].checked);
    }
}

TEST_F(ItemListReaderTest, UnreadableItemFileKeepsTheColumnsAndNamesTheFile) {
    const ItemList list = Fill(kSecondaryTab);
    EXPECT_TRUE(list.rows.empty());
    EXPECT_EQ(list.columns.size(), 9u);
    ASSERT_TRUE(list.readError);
    EXPECT_NE(list.readError->what.find("secondarymp.itm"), std::string::npos);
    EXPECT_FALSE(list.readError->why.empty());
}

}  // namespace
}  // namespace kitdata
