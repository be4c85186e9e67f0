// Reading the item files, data files and the name table into the rows of
// the three lists.

#include "loadwise/kitdata/item_list_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "loadwise/kitdata/item_names.h"
#include "loadwise/kitdata/kit_files.h"
#include "support/kit_fixture.h"

namespace kitdata {
namespace {

using Cells = std::vector<std::string>;

class ItemListReaderTest : public ::testing::Test {
  protected:
    ItemList Fill(int tab = kPrimaryTab) {
        const auto names = LoadItemNames(kit_.prefix(), paths_);
        EXPECT_TRUE(names.ok());
        return FillItemList(kit_.prefix(), paths_, names.ok() ? names.value() : Cells{}, tab);
    }
    // "key+" or "key-" for each row, by its tick.
    std::string Rows(const ItemList& list) {
        std::string rows;
        for (const ItemRow& row : list.rows) {
            rows += row.cells[kTextColumn] + (row.checked ? "+ " : "- ");
        }
        return rows;
    }

    testsupport::KitInstallation kit_;
    GamePaths paths_ = kit_.Paths();
};

TEST_F(ItemListReaderTest, OnlyLinesBeginningExactlyWithAQuoteMakeRowsAfterTheHeader) {
    const std::pair<std::string, std::string> cases[] = {
        {"// c\r\n\r\n[Section]\r\n\"header\"\r\n \"blank.txt\"\r\n// \"spaced.txt\"\r\n"
         "///\"three.txt\"\r\n\"kept.txt\"\r\n//\"off.txt\"\r\n",
         "kept.txt+ off.txt- "},
        // A switched-off header leaves the row after it unticked.
        {"//\"header\"\r\n\"a.txt\"\r\n\"b.txt\"\r\n//\"c.txt\"\r\n\"d.txt\"",
         "a.txt- b.txt+ c.txt- d.txt+ "},
        {"\"header\"\n\"a.txt\"\n//\"b.txt\"\n", "a.txt+ b.txt- "},
    };
    for (const auto& [text, rows] : cases) {
        kit_.WriteFile(kit_.ItemFile(kPrimaryTab), text);
        EXPECT_EQ(Rows(Fill()), rows) << text;
    }
}

TEST_F(ItemListReaderTest, FiguresComeFromTheDataFileWhateverTheLetterCaseOnDisk) {
    namespace fs = std::filesystem;
    const fs::path itemFile = kit_.UnixPath(kit_.ItemFile(kPrimaryTab));
    fs::rename(itemFile, itemFile.parent_path() / "PrimaryMP.ITM");
    fs::rename(kit_.UnixPath(kit_.EquipmentFile("rook.atr")), itemFile.parent_path() / "ROOK.ATR");
    const ItemList list = Fill();
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[0].cells, (Cells{"Rook Carbine", "rook.txt", "rook.atr", "30", "600",
                                         "3-Excellent", "3-Excellent", "3-Excellent", "2"}));
    EXPECT_EQ(list.rows[2].cells[kNameColumn], "Vesper \xE0 pompe");
    EXPECT_EQ(Fill(kSpecialTab).rows[1].cells, (Cells{"Flash bang", "flash.txt", "flash.atr"}));
    paths_.m_bDevMode = true;  // the raw figures
    const Cells dev = Fill().rows[0].cells;
    EXPECT_EQ(Cells(dev.begin() + kAccuracyColumn, dev.begin() + kZoomColumn),
              (Cells{"0.6", "1.6", "1.2"}));
}

TEST_F(ItemListReaderTest, NameFromTheTableOrTheItemText) {
    struct Case {
        const char* key;
        const char* data;  // nullptr: no data file
        const char* name;
        const char* mag;
    };
    const Case cases[] = {
        {"neg.txt", "-1\r\n", "neg.txt", ""},
        {"huge.txt", "99999999999999999999\r\n", "huge.txt", ""},
        {"last.txt", "+7abc\r\n", "Flash bang", ""},  // the table's last name
        {"over.txt", "8\r\n", "over.txt", ""},        // one past it
        {"short.txt", " 3 starts with a blank\r\nx\r\n7 // mag", "Nobody", "7"},
        {"ex_primmags.txt", nullptr, "Primary Magazine", ""},
        {"ex_secmags.txt", "1\r\n", "Rook Carbine", ""},
        {"ex_emptykit.txt", nullptr, "Empty", ""},
        {"EX_EMPTYKIT.TXT", nullptr, "EX_EMPTYKIT.TXT", ""},
    };
    std::string itemFile = "\"header\"\r\n";
    for (const Case& c : cases) {
        itemFile += std::string("\"") + c.key + "\" \"\" \"" + c.key + ".atr\"\r\n";
        if (c.data != nullptr) {
            kit_.WriteFile(kit_.EquipmentFile(std::string(c.key) + ".atr"), c.data);
        }
    }
    kit_.WriteFile(kit_.ItemFile(kPrimaryTab), itemFile);
    const ItemList list = Fill();
    ASSERT_EQ(list.rows.size(), std::size(cases));
    for (std::size_t i = 0; i < list.rows.size(); ++i) {
        EXPECT_EQ(list.rows[i].cells[kNameColumn], cases[i].name) << cases[i].key;
        EXPECT_EQ(list.rows[i].cells[kMagColumn], cases[i].mag) << cases[i].key;
    }
    EXPECT_EQ(ParseItemNames({"// x", "\"Zero\"", " \"no\"", "\"One\" extra \"x\"", "\"Two"}),
              (Cells{"Zero", "One", "Two"}));
}

TEST_F(ItemListReaderTest, UnreadableItemFileKeepsTheColumnsAndNamesTheFile) {
    std::filesystem::remove(kit_.UnixPath(kit_.ItemFile(kSecondaryTab)));
    const ItemList list = Fill(kSecondaryTab);
    EXPECT_TRUE(list.rows.empty());
    EXPECT_EQ(list.columns.size(), 9u);
    ASSERT_TRUE(list.readError);
    EXPECT_NE(list.readError->what.find("secondarymp.itm"), std::string::npos);
}

}  // namespace
}  // namespace kitdata
