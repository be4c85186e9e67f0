// The Loadwise window driven as a user does: start-up, clicks on boxes,
// texts and headings, the counter and Save rules, Save and leaving.

#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <filesystem>

#include "support/kit_fixture.h"
#include "support/message_recorder.h"
#include "window_driver.h"

namespace loadwisetest {
namespace {

namespace fs = std::filesystem;
using testsupport::CrLfLines;

class WindowTest : public ::testing::Test {
  protected:
    bool Selected(int row) { return window_.List(0).selectionModel()->isRowSelected(row, {}); }

    testsupport::KitInstallation kit_;
    testsupport::MessageRecorder messages_;
    Window window_{kit_.prefix()};
};

TEST_F(WindowTest, StartsOnPrimaryWithTheRowsInFileOrder) {
    EXPECT_TRUE(messages_.messages().empty());
    EXPECT_TRUE(window_.List(0).isVisible());
    EXPECT_FALSE(window_.List(1).isVisible());
    EXPECT_EQ(window_.Column(0, 1), "rook.txt+ harrow.txt vesper.txt+ ");
    EXPECT_EQ(window_.List(0).model()->index(2, 0).data().toString(),
              QString::fromUtf8("Vesper \xC3\xA0 pompe"));
    EXPECT_EQ(window_.Counter(), "2");
}

// Messages come while the window is still hidden, in the order start-up meets them.
TEST(StartupTest, MessagesComeBeforeTheWindowIsShown) {
    testsupport::InstallationOptions options;
    options.gameKey = false;
    testsupport::KitInstallation kit(testsupport::SmallKit(), options);
    CLoadwiseDlg dialog(kit.prefix());
    std::vector<std::string> seen;
    const auto previous = platform::SetMessageOperation(
        [&](const std::string& text, const std::string& caption, unsigned style) {
            EXPECT_EQ(caption, "Loadwise");
            EXPECT_EQ(style, platform::MB_OK | platform::MB_ICONHAND);
            EXPECT_FALSE(dialog.isVisible()) << text;
            seen.push_back(text);
            return platform::IDOK;
        });
    dialog.OnInitDialog();
    platform::SetMessageOperation(previous);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "Error opening main reg key");
    // Without folders the item files are looked for where the program runs.
    EXPECT_NE(seen[1].find("primarymp.itm"), std::string::npos) << seen[1];
}

TEST_F(WindowTest, TheBoxTogglesAndSelectsTheTextOnlySelects) {
    QTest::mouseDClick(window_.List(0).viewport(), Qt::LeftButton, {},
                       window_.List(0).CheckImageRect(1).center());  // toggles once
    EXPECT_EQ(window_.Column(0, 1), "rook.txt+ harrow.txt+ vesper.txt+ ");
    window_.ClickBox(0, 0);
    EXPECT_EQ(window_.Column(0, 1), "rook.txt harrow.txt+ vesper.txt+ ");
    EXPECT_TRUE(Selected(0));
    EXPECT_EQ(window_.Counter(), "2");
    EXPECT_EQ(window_.dialog.Description(), "A short carbine.");
    window_.ClickText(0, 1);
    EXPECT_EQ(window_.Column(0, 1), "rook.txt harrow.txt+ vesper.txt+ ");
    EXPECT_TRUE(Selected(1));
    EXPECT_EQ(window_.dialog.Description(), "A compact submachine gun.");
    window_.ClickText(0, 2);
    EXPECT_EQ(window_.dialog.Description(), "No description available.");
}

TEST_F(WindowTest, HeadingsSortTheirOwnListAndTheDirectionCarriesOver) {
    window_.ClickHeading(0, 0);  // Name, ascending
    EXPECT_EQ(window_.Column(0, 1), "harrow.txt rook.txt+ vesper.txt+ ");
    window_.ClickHeading(0, 0);  // again: descending
    EXPECT_EQ(window_.Column(0, 1), "vesper.txt+ rook.txt+ harrow.txt ");
    window_.ClickHeading(0, 3);  // Mag keeps the last direction
    EXPECT_EQ(window_.Column(0, 3), "30+ 25 8+ ");
    EXPECT_EQ(window_.List(0).model()->index(0, 3).data().toString(), "30");
    EXPECT_EQ(window_.Column(1, 1), "lyra9.txt+ vole32.txt ");
}

TEST(CounterRulesTest, CounterAndSaveFollowEachStep) {
    enum Action { kStart, kBox, kTab, kMultiplayerOnly, kSelectAll, kUnselectAll };
    struct Step {
        Action action;
        int tab, row;
        const char* counter;
        bool save;
    };
    struct Scenario {
        int tab, items, active;  // the tab whose items are replaced, and by how many
        std::vector<Step> steps;
    };
    const Scenario scenarios[] = {
        // 33 Primary items need Multiplayer Only; the counter then shows Special.
        {0,
         33,
         33,
         {{kStart, 0, 0, "33", false},
          {kMultiplayerOnly, 0, 0, "2", true},
          {kMultiplayerOnly, 0, 0, "2", false},
          {kBox, 0, 0, "32", true}}},
        // Special counts one more.
        {2,
         32,
         0,
         {{kTab, 2, 0, "1", true},
          {kSelectAll, 0, 0, "33", false},
          {kMultiplayerOnly, 0, 0, "33", true},
          {kMultiplayerOnly, 0, 0, "33", false},
          {kBox, 2, 0, "32", true}}},
        // An empty tab blocks Save once shown, until it has a tick.
        {1,
         2,
         0,
         {{kStart, 0, 0, "2", true},
          {kTab, 1, 0, "0", false},
          {kTab, 0, 0, "2", false},
          {kTab, 1, 0, "0", false},
          {kBox, 1, 1, "1", true}}},
        // Multiplayer Only judges every tab again.
        {1, 2, 0, {{kMultiplayerOnly, 0, 0, "2", false}}},
        // Select All and Unselect All work on the shown tab only.
        {0,
         3,
         2,
         {{kTab, 1, 0, "1", true},
          {kUnselectAll, 0, 0, "0", false},
          {kTab, 0, 0, "2", false},
          {kSelectAll, 0, 0, "3", false},
          {kTab, 1, 0, "0", false},
          {kSelectAll, 0, 0, "2", true}}}};
    for (const Scenario& scenario : scenarios) {
        testsupport::Kit items = testsupport::SmallKit();
        items[scenario.tab] = testsupport::ManyItems("i", scenario.items, scenario.active);
        testsupport::KitInstallation kit(items);
        testsupport::MessageRecorder messages;
        Window window(kit.prefix());
        for (const Step& step : scenario.steps) {
            const char* const buttons[] = {
                "", "", "", "IDC_MULTIPLAYER_ONLY", "IDC_SELECT_ALL", "IDC_UNSELECT_ALL"};
            if (step.action == kBox) {
                window.ClickBox(step.tab, step.row);
            } else if (step.action == kTab) {
                window.ClickTab(step.tab);
            } else if (step.action != kStart) {
                window.Click(buttons[step.action]);
            }
            EXPECT_EQ(window.Counter(), step.counter)
                << scenario.tab << " " << &step - &scenario.steps[0];
            EXPECT_EQ(window.SaveEnabled(), step.save)
                << scenario.tab << " " << &step - &scenario.steps[0];
        }
    }
}

TEST_F(WindowTest, SaveWritesTheTicksIntoAllSixFilesAndEnds) {
    window_.ClickBox(0, 0);      // rook off
    window_.ClickBox(0, 1);      // harrow on
    window_.ClickHeading(0, 0);  // the order of the rows does not matter
    window_.ClickTab(2);
    window_.ClickBox(2, 0);  // medkit on
    window_.Click("IDOK");
    EXPECT_TRUE(messages_.messages().empty());
    EXPECT_EQ(window_.dialog.result(), QDialog::Accepted);
    const std::string head = "// multiplayer items\r\n\"header\" \"x\" \"y\"\r\n";
    const std::vector<std::string> expected = {
        head + CrLfLines({"//\"rook.txt\" \"rook\" \"rook.atr\"",
                          "\"harrow.txt\" \"harrow\" \"harrow.atr\"",
                          "\"vesper.txt\" \"vesper\" \"vesper.atr\""}),
        head + CrLfLines({"\"lyra9.txt\" \"lyra9\" \"lyra9.atr\"",
                          "//\"vole32.txt\" \"vole32\" \"vole32.atr\""}),
        head + CrLfLines({"\"medkit.txt\" \"medkit\" \"medkit.atr\"",
                          "\"flash.txt\" \"flash\" \"flash.atr\""}),
        CrLfLines({"// kit list", "//\"rook.txt\"", "\"harrow.txt\"", "\"vesper.txt\""}),
        CrLfLines({"// kit list", "\"lyra9.txt\"", "//\"vole32.txt\""}),
        CrLfLines({"// kit list", "\"medkit.txt\"", "\"flash.txt\""})};
    EXPECT_EQ(kit_.KitFiles(), expected);
}

TEST_F(WindowTest, AFailedSaveSaysWhichFileChangesNothingAndKeepsTheWindowOpen) {
    const std::vector<std::string> before = kit_.KitFiles();
    const fs::path special = kit_.UnixPath(kit_.KitList(2));
    fs::rename(special, special.string() + ".aside");  // gone while the window is open
    window_.ClickBox(0, 0);
    window_.Click("IDOK");
    ASSERT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(messages_.messages()[0].style, platform::MB_OK | platform::MB_ICONHAND);
    EXPECT_NE(messages_.messages()[0].text.find("special.txt"), std::string::npos);
    EXPECT_TRUE(window_.dialog.isVisible());
    fs::rename(special.string() + ".aside", special);
    EXPECT_EQ(kit_.KitFiles(), before);
}

TEST(LeavingTest, EscapeExitAndTheCloseBoxLeaveWithoutSaving) {
    testsupport::KitInstallation kit;
    const std::vector<std::string> before = kit.KitFiles();
    testsupport::MessageRecorder messages;
    for (int way = 0; way < 3; ++way) {
        Window window(kit.prefix());
        window.ClickBox(0, 0);
        way == 0   ? QTest::keyClick(&window.dialog, Qt::Key_Escape)
        : way == 1 ? window.Click("IDCANCEL")
                   : (void)window.dialog.close();
        EXPECT_FALSE(window.dialog.isVisible()) << way;
        EXPECT_EQ(window.dialog.result(), QDialog::Rejected) << way;
    }
    EXPECT_EQ(kit.KitFiles(), before);
}

}  // namespace
}  // namespace loadwisetest
