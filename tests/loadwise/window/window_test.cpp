// The Loadwise window driven as a user does: start-up, clicks on boxes,
// texts and headings, the keyboard, the counter and Save rules, Save and
// Escape; columns that fit the font, and boxes screen readers can tell.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <sstream>

#include "loadwise/kitdata/item_list_reader.h"
#include "loadwise/window/check_list_ctrl.h"
#include "loadwise/window/loadwise_dlg.h"
#include "support/fake_installation.h"
#include "support/message_recorder.h"

namespace loadwisetest {
namespace {

namespace fs = std::filesystem;
using testsupport::CrLfLines;

// Drives a Loadwise window as a user does: presses on check boxes, row
// texts, headings, tabs and buttons, found by their control ids.
struct Window {
    explicit Window(const platform::WinePrefix& prefix) : dialog(prefix) {
        dialog.OnInitDialog();
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    template <class T = QAbstractButton>
    T* Find(const char* id) {
        return dialog.findChild<T*>(QString::fromLatin1(id));
    }
    loadwise::CCheckListCtrl& List(int tab) { return *dialog.List(tab); }
    std::string Counter() { return Find<QLabel>("IDC_SELECTED_COUNT")->text().toStdString(); }
    bool SaveEnabled() { return Find("IDOK")->isEnabled(); }

    void Click(const char* id) { QTest::mouseClick(Find(id), Qt::LeftButton, {}, QPoint(4, 4)); }
    void PressReturnOn(const char* id) {
        Find(id)->setFocus();
        QTest::keyClick(Find(id), Qt::Key_Return);
    }
    void ClickBox(int tab, int row) {
        QTest::mouseClick(List(tab).viewport(), Qt::LeftButton, {},
                          List(tab).CheckImageRect(row).center());
    }
    void ClickText(int tab, int row) {
        const QRect cell = List(tab).visualRect(List(tab).model()->index(row, 0));
        QTest::mouseClick(List(tab).viewport(), Qt::LeftButton, {},
                          QPoint(cell.right() - 4, cell.center().y()));
    }
    void ClickHeading(int tab, int column) {
        QHeaderView* header = List(tab).header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
    }
    void ClickTab(int tab) {
        QTabBar* bar = Find<QTabWidget>("IDC_KIT_TAB")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    }
    // A column's texts from top to bottom, each with "+" when its row is ticked.
    std::string Column(int tab, int column) {
        std::string texts;
        for (int row = 0; row < List(tab).GetRowCount(); ++row) {
            texts += List(tab).GetCellText(row, column) + (List(tab).GetCheck(row) ? "+ " : " ");
        }
        return texts;
    }

    CLoadwiseDlg dialog;
};

class WindowTest : public ::testing::Test {
  protected:
    testsupport::KitInstallation kit_;
    testsupport::MessageRecorder messages_;
    Window window_{kit_.prefix()};
};

// Without the game's folders no file is looked for: one message, empty lists.
TEST(StartupTest, WithoutTheGameKeyOneMessageAndNoFileIsLookedFor) {
    testsupport::InstallationOptions options;
    options.gameKey = false;
    testsupport::KitInstallation kit(testsupport::SmallKit(), options);
    testsupport::MessageRecorder messages;
    CLoadwiseDlg dialog(kit.prefix());
    dialog.OnInitDialog();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Error opening main reg key"});
    EXPECT_EQ(dialog.List(0)->GetRowCount(), 0);
}

TEST_F(WindowTest, TheBoxTogglesAndSelectsTheTextOnlySelects) {
    // Screen readers hear each box and its state too.
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&window_.List(0));
    ASSERT_TRUE(table != nullptr && table->tableInterface() != nullptr);
    EXPECT_EQ(table->text(QAccessible::Name), "Primary items");
    const auto state = [&](int row) { return table->tableInterface()->cellAt(row, 0)->state(); };
    EXPECT_EQ(window_.Column(0, 1), "rook.txt+ harrow.txt vesper.txt+ ");
    EXPECT_TRUE(state(0).checkable && state(0).checked && !state(1).checked);
    QTest::mouseDClick(window_.List(0).viewport(), Qt::LeftButton, {},
                       window_.List(0).CheckImageRect(1).center());  // toggles once
    EXPECT_EQ(window_.Column(0, 1), "rook.txt+ harrow.txt+ vesper.txt+ ");
    window_.ClickBox(0, 0);
    EXPECT_EQ(window_.Column(0, 1), "rook.txt harrow.txt+ vesper.txt+ ");
    EXPECT_TRUE(!state(0).checked && state(1).checked);
    EXPECT_EQ(window_.Counter(), "2");
    EXPECT_EQ(window_.dialog.Description(), "A short carbine.");
    window_.ClickText(0, 1);
    EXPECT_EQ(window_.Column(0, 1), "rook.txt harrow.txt+ vesper.txt+ ");
    EXPECT_EQ(window_.dialog.Description(), "A compact submachine gun.");
}

// Keys on the Primary list, each followed by the counter and the current
// row's description; Return there neither saves nor ends the window.
TEST_F(WindowTest, TheKeyboardMovesAndTogglesAndReturnPressesOnlyTheFocusedButton) {
    loadwise::CCheckListCtrl& list = window_.List(0);
    list.setFocus();
    list.setCurrentIndex(list.model()->index(0, 0));
    const std::tuple<Qt::Key, const char*, const char*> steps[] = {
        {Qt::Key_Down, "2", "A compact submachine gun."},
        {Qt::Key_Space, "3", "A compact submachine gun."},
        {Qt::Key_End, "3", "No description available."},
        {Qt::Key_PageUp, "3", "A short carbine."},
        {Qt::Key_Space, "2", "A short carbine."},
        {Qt::Key_Return, "2", "A short carbine."}};
    for (const auto& [key, counter, description] : steps) {
        QTest::keyClick(&list, key);
        EXPECT_EQ(window_.Counter(), counter) << key;
        EXPECT_EQ(window_.dialog.Description(), description) << key;
    }
    EXPECT_EQ(window_.Column(0, 1), "rook.txt harrow.txt+ vesper.txt+ ");
    window_.PressReturnOn("IDC_SELECT_ALL");
    EXPECT_EQ(window_.Counter(), "3");
    EXPECT_TRUE(window_.dialog.isVisible());
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

// Each step: an action, then the counter and "+" when Save may be pressed.
// Actions: "=" none, "bTR" the box of tab T row R, "tT" tab T, "m" Multiplayer
// Only, "a" Select All, "u" Unselect All.
TEST(CounterRulesTest, CounterAndSaveFollowEachStep) {
    struct Scenario {
        int tab, items, active;  // the tab whose items are replaced, and by how many
        const char* steps;
    };
    const Scenario scenarios[] = {
        // 33 Primary items need Multiplayer Only; the counter then shows Special.
        {0, 33, 33, "=:33- m:2+ m:2- b00:32+"},
        {2, 32, 0, "t2:1+ a:33- m:33+ m:33- b20:32+"},  // Special counts one more
        // An empty tab blocks Save once shown, until it has a tick.
        {1, 2, 0, "=:2+ t1:0- t0:2- t1:0- b11:1+"},
        {1, 2, 0, "m:2-"},  // Multiplayer Only judges every tab again
        // Select All and Unselect All work on the shown tab only.
        {0, 3, 2, "t1:1+ u:0- t0:2- a:3- t1:0- a:2+"}};
    for (const Scenario& scenario : scenarios) {
        testsupport::Kit items = testsupport::SmallKit();
        items[scenario.tab].clear();
        for (int i = 1; i <= scenario.items; ++i) {
            items[scenario.tab].push_back(
                {"i" + std::to_string(i) + ".txt", "", i <= scenario.active, "30", ""});
        }
        testsupport::KitInstallation kit(items);
        testsupport::MessageRecorder messages;
        Window window(kit.prefix());
        std::istringstream in(scenario.steps);
        for (std::string step; in >> step;) {
            if (step[0] == 'b') {
                window.ClickBox(step[1] - '0', step[2] - '0');
            } else if (step[0] == 't') {
                window.ClickTab(step[1] - '0');
            } else if (step[0] != '=') {
                window.Click(step[0] == 'm'   ? "IDC_MULTIPLAYER_ONLY"
                             : step[0] == 'a' ? "IDC_SELECT_ALL"
                                              : "IDC_UNSELECT_ALL");
            }
            EXPECT_EQ(window.Counter() + (window.SaveEnabled() ? "+" : "-"),
                      step.substr(step.find(':') + 1))
                << scenario.steps << " at " << step;
        }
    }
}

TEST_F(WindowTest, SaveWritesTheTicksIntoAllSixFilesAndEnds) {
    const std::vector<std::string> before = kit_.KitFiles();
    window_.ClickBox(0, 0);      // rook off
    window_.ClickBox(0, 1);      // harrow on
    window_.ClickHeading(0, 0);  // the order of the rows does not matter
    window_.ClickTab(2);
    window_.ClickBox(2, 0);  // medkit on
    window_.PressReturnOn("IDOK");
    EXPECT_TRUE(messages_.messages().empty());
    EXPECT_EQ(window_.dialog.result(), QDialog::Accepted);
    const std::vector<std::string> files = kit_.KitFiles();
    EXPECT_NE(files[0].find("\n//\"rook.txt\" \"rook\" \"rook.atr\"\r\n\"harrow.txt\""),
              std::string::npos);
    EXPECT_EQ(files[3],
              CrLfLines({"// kit list", "//\"rook.txt\"", "\"harrow.txt\"", "\"vesper.txt\""}));
    EXPECT_EQ(files[5], CrLfLines({"// kit list", "\"medkit.txt\"", "\"flash.txt\""}));
    EXPECT_EQ(files[4], before[4]);  // Secondary as it was
}

TEST_F(WindowTest, AFailedSaveSaysWhichFileChangesNothingAndKeepsTheWindowOpen) {
    const std::vector<std::string> before = kit_.KitFiles();
    const fs::path special = kit_.UnixPath(kit_.KitList(2));
    fs::rename(special, special.string() + ".aside");  // gone while the window is open
    window_.ClickBox(0, 0);
    window_.Click("IDOK");
    ASSERT_EQ(messages_.messages().size(), 1u);
    EXPECT_NE(messages_.messages()[0].text.find("special.txt"), std::string::npos);
    EXPECT_TRUE(window_.dialog.isVisible());
    fs::rename(special.string() + ".aside", special);
    EXPECT_EQ(kit_.KitFiles(), before);
    QTest::keyClick(&window_.dialog, Qt::Key_Escape);  // leaves without saving
    EXPECT_EQ(window_.dialog.result(), QDialog::Rejected);
    EXPECT_EQ(kit_.KitFiles(), before);
}

class ColumnWidthTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(GetParam());
        QApplication::setFont(font);
    }
    void TearDown() override { QApplication::setFont(previousFont_); }

    QFont previousFont_ = QApplication::font();
    testsupport::KitInstallation kit_;
    testsupport::MessageRecorder messages_;
};

TEST_P(ColumnWidthTest, RatingWordsAreNeverCutAndNameTakesTheRest) {
    Window window(kit_.prefix());
    loadwise::CCheckListCtrl& list = window.List(0);
    const QHeaderView* header = list.header();
    // The text of a cell sits inside a margin on either side.
    const int margin = 2 * (list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    const int needed = list.fontMetrics().horizontalAdvance(QStringLiteral("2-Outstanding"));
    for (int column : {kitdata::kAccuracyColumn, kitdata::kRecoilColumn, kitdata::kReticleColumn}) {
        EXPECT_GE(header->sectionSize(column), needed + margin) << column;
    }
    EXPECT_GE(header->length(), list.viewport()->width());
    EXPECT_GT(header->sectionSize(kitdata::kNameColumn), header->sectionSize(kitdata::kMagColumn));
    // A cell too narrow for its text still tells it whole.
    EXPECT_EQ(list.model()->index(2, 0).data(Qt::ToolTipRole).toString(),
              QString::fromUtf8("Vesper \xC3\xA0 pompe"));
}

// Pixel sizes: the default font, 1.5 times it (144 dpi) and twice it.
INSTANTIATE_TEST_SUITE_P(Fonts, ColumnWidthTest, ::testing::Values(13, 20, 26));

}  // namespace
}  // namespace loadwisetest
