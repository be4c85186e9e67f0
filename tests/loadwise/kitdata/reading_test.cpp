// Reading the kit: the game's folders from its registry key, the item files,
// data files and names into the rows of the three lists, and rating words.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "loadwise/kitdata/game_paths.h"
#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/kitdata/item_names.h"
#include "loadwise/kitdata/kit_files.h"
#include "loadwise/kitdata/rating.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"

namespace kitdata {
namespace {

using testsupport::FakeInstallation;
using testsupport::MessageRecorder;
using Texts = std::vector<std::string>;

// Missing values and values one byte too long for the buffer alternate, in
// reading order; then all are there, one just fitting, and VARNDEV too.
TEST(GamePathsTest, ReadingStopsAtTheFirstMissingOrTooLongValueWithOneMessage) {
    const char* const names[] = {"ActorPath",     "BitmapPath",    "ActionMusicPath",
                                 "EquipmentPath", "EquipTextPath", "InstallationPath",
                                 "SoundPath",     "TextPath"};
    const std::string longest = "C:\\" + std::string(256, 'x');  // 259 bytes and the zero
    for (int missing = 0; missing <= 8; ++missing) {
        MessageRecorder messages;
        testsupport::InstallationOptions options;
        options.devMode = missing == 8;
        if (missing < 8) {
            options.gameValues[names[missing]] =
                missing % 2 ? std::optional(longest + "x") : std::nullopt;
        } else {
            options.gameValues["TextPath"] = longest;
        }
        FakeInstallation installation(options);
        const GamePaths paths = ReadGamePaths(installation.prefix());
        EXPECT_EQ(paths.m_bDevMode, missing == 8);
        if (missing == 8) {
            EXPECT_TRUE(messages.messages().empty());
            EXPECT_EQ(paths.m_strEquipTextPath,
                      installation.GameValue("EquipTextPath") + "\\english\\");
            EXPECT_EQ(paths.m_strTextPath, longest);
            break;
        }
        ASSERT_EQ(messages.texts(),
                  Texts{"Error opening reg key " + std::string(names[missing]) + " path regkey"});
        // What was read before stays exactly as stored (no separator added).
        EXPECT_EQ(paths.m_strActorPath, missing > 0 ? installation.GameValue("ActorPath") : "");
        EXPECT_EQ(paths.m_strTextPath, "");
    }
}

class ItemListReaderTest : public ::testing::Test {
  protected:
    ItemList Fill(int tab = kPrimaryTab) {
        const auto names = LoadItemNames(kit_.prefix(), paths_);
        EXPECT_TRUE(names.ok());
        return FillItemList(kit_.prefix(), paths_, names.ok() ? names.value() : Texts{}, tab);
    }

    testsupport::KitInstallation kit_;
    GamePaths paths_ = ReadGamePaths(kit_.prefix());
};

TEST_F(ItemListReaderTest, OnlyLinesBeginningExactlyWithAQuoteMakeRowsAfterTheHeader) {
    const std::pair<std::string, std::string> cases[] = {
        {"// c\r\n\r\n[Section]\r\n\"header\"\r\n \"blank.txt\"\r\n// \"spaced.txt\"\r\n"
         "///\"three.txt\"\r\n\"kept.txt\"\r\n//\"off.txt\"\r\n",
         "kept.txt+ off.txt "},
        // A switched-off header leaves the row after it unticked.
        {"//\"header\"\r\n\"a.txt\"\r\n\"b.txt\"\r\n//\"c.txt\"\r\n\"d.txt\"",
         "a.txt b.txt+ c.txt d.txt+ "},
    };
    for (const auto& [text, rows] : cases) {
        kit_.WriteFile(kit_.ItemFile(kPrimaryTab), text);
        std::string read;
        for (const ItemRow& row : Fill().rows) {
            read += row.cells[kTextColumn] + (row.checked ? "+ " : " ");
        }
        EXPECT_EQ(read, rows) << text;
    }
}

TEST_F(ItemListReaderTest, FiguresComeFromTheDataFileWhateverTheLetterCaseOnDisk) {
    const auto folder = kit_.UnixPath(kit_.ItemFile(kPrimaryTab)).parent_path();
    std::filesystem::rename(folder / "primarymp.itm", folder / "PrimaryMP.ITM");
    std::filesystem::rename(folder / "rook.atr", folder / "ROOK.ATR");
    const ItemList list = Fill();
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[0].cells, (Texts{"Rook Carbine", "rook.txt", "rook.atr", "30", "600",
                                         "3-Excellent", "3-Excellent", "3-Excellent", "2"}));
    EXPECT_EQ(Fill(kSpecialTab).rows[1].cells, (Texts{"Flash bang", "flash.txt", "flash.atr"}));
    paths_.m_bDevMode = true;  // the raw figures
    EXPECT_EQ(Fill().rows[0].cells[kReticleColumn], "1.2");
}

TEST_F(ItemListReaderTest, NameFromTheTableOrTheItemText) {
    struct Case {
        const char* key;
        const char* data;  // nullptr: no data file
        const char* name;
    };
    // Indexes outside the table (the last is 7), data files missing or short.
    const Case cases[] = {{"neg.txt", "-1", "neg.txt"},
                          {"last.txt", "+7abc", "Flash bang"},
                          {"over.txt", "8", "over.txt"},
                          {"short.txt", " 3 starts with a blank\r\nx\r\n7 // mag", "Nobody"},
                          {"ex_primmags.txt", nullptr, "Primary Magazine"},
                          {"EX_EMPTYKIT.TXT", nullptr, "EX_EMPTYKIT.TXT"}};
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
    }
    EXPECT_EQ(list.rows[3].cells[kMagColumn], "7");
}

TEST(TextRulesTest, EachRatingBoundRatesTheValueJustBelowItAndTheValueOnIt) {
    const char* const words[] = {"1-Amazing", "2-Outstanding", "3-Excellent", "4-Impressive",
                                 "5-Good",    "6-Fair",        "7-Poor",      "8-Bad"};
    // Each bound as the value just below it and the value on it.
    const std::pair<RatedFigure, std::string> figures[] = {
        {RatedFigure::Accuracy,
         "0.1 0.11 0.5 0.51 0.7 0.71 1.2 1.21 1.5 1.51 2 2.01 2.5 2.51 9.99 10"},
        {RatedFigure::Recoil,
         "1.3 1.31 1.5 1.51 1.7 1.71 2 2.01 2.2 2.21 2.3 2.31 2.5 2.51 9.99 10.0"},
        {RatedFigure::Reticle, "0.8 0.81 1 1.01 1.3 1.31 1.6 1.61 2 2.01 2.5 2.51 3 3.01 9.99 12"}};
    for (const auto& [figure, bounds] : figures) {
        std::istringstream in(bounds);
        std::string below, on;
        for (int i = 0; in >> below >> on; ++i) {
            EXPECT_EQ(RateFigure(figure, below), words[i]) << below;
            // At 10 and above the figure's own text is shown.
            EXPECT_EQ(RateFigure(figure, on), i < 7 ? words[i + 1] : on) << on;
        }
    }
    EXPECT_EQ(RateFigure(RatedFigure::Accuracy, "not a number"), "1-Amazing");
    EXPECT_EQ(RateRecoil("5", "1"), "None");
    EXPECT_EQ(RateRecoil("5", "1.0"), "8-Bad");
}

}  // namespace
}  // namespace kitdata
