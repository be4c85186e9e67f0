// Reading the kit: the game's folders, the rows of the three lists, rating words.

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

// Rows ("+" when ticked) by name: only lines beginning exactly with a quote
// count and the first is the header; the name is the table's entry when the
// data file's first number is inside the table (the last is 7).
TEST_F(ItemListReaderTest, RowsComeFromQuotedLinesAfterTheHeaderNamedByTheTable) {
    const std::pair<std::string, const char*> data[] = {
        {"neg", "-1"}, {"last", "+7abc"}, {"over", "8"}, {"short", " 3 first\r\nx\r\n7 // mag"}};
    std::string items = "\"h\"\r\n";
    for (const auto& [stem, text] : data) {
        kit_.WriteFile(kit_.EquipmentFile(stem + ".atr"), text);
        items += "\"" + stem + "\" \"\" \"" + stem + ".atr\"\r\n";
    }
    const std::pair<std::string, std::string> cases[] = {
        {"// c\r\n\r\n[Section]\r\n\"header\"\r\n \"blank.txt\"\r\n// \"spaced.txt\"\r\n"
         "///\"three.txt\"\r\n\"kept.txt\"\r\n//\"off.txt\"\r\n",
         "kept.txt+|off.txt|"},
        // A switched-off header leaves the row after it unticked.
        {"//\"header\"\r\n\"a.txt\"\r\n\"b.txt\"\r\n//\"c.txt\"\r\n\"d.txt\"",
         "a.txt|b.txt+|c.txt|d.txt+|"},
        // Data files with indexes outside the table, short, or missing.
        {items + "\"ex_primmags.txt\"\r\n\"EX_EMPTYKIT.TXT\"",
         "neg+|Flash bang+|over+|Nobody+|Primary Magazine+|EX_EMPTYKIT.TXT+|"}};
    for (const auto& [text, rows] : cases) {
        kit_.WriteFile(kit_.ItemFile(kPrimaryTab), text);
        std::string read;
        for (const ItemRow& row : Fill().rows) {
            read += row.cells[kNameColumn] + (row.checked ? "+|" : "|");
        }
        EXPECT_EQ(read, rows) << text;
    }
    EXPECT_EQ(Fill().rows[3].cells[kMagColumn], "7");
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
