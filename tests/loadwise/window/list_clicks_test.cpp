// Presses on check boxes, row texts and headings of the real lists.

#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include "kit_fixture.h"
#include "support/message_recorder.h"
#include "window_driver.h"

namespace loadwisetest {
namespace {

bool IsSelected(loadwise::CCheckListCtrl& list, int row) {
    return list.selectionModel()->isRowSelected(row, {});
}

class ListClicksTest : public ::testing::Test {
  protected:
    KitInstallation kit_{SmallKit()};
    testsupport::MessageRecorder messages_;
    WindowDriver window_{kit_.prefix()};
};

TEST_F(ListClicksTest, PressOnTheCheckBoxTogglesThenSelectsAndTellsTheWindow) {
    ASSERT_TRUE(window_.list(0).GetCheck(0));
    window_.ClickCheckBox(0, 0);
    EXPECT_FALSE(window_.list(0).GetCheck(0));
    EXPECT_TRUE(IsSelected(window_.list(0), 0));
    // The window saw the new state: count and description follow the click.
    EXPECT_EQ(window_.counter()->text(), "1");
    EXPECT_EQ(window_.description(), "A short carbine.");

    window_.ClickCheckBox(0, 1);
    EXPECT_TRUE(window_.list(0).GetCheck(1));
    EXPECT_EQ(window_.counter()->text(), "2");
    EXPECT_EQ(window_.description(), "A compact submachine gun.");
}

TEST_F(ListClicksTest, PressOnTheTextSelectsWithoutToggling) {
    window_.ClickRowText(0, 1);
    EXPECT_FALSE(window_.list(0).GetCheck(1));
    EXPECT_TRUE(IsSelected(window_.list(0), 1));
    EXPECT_EQ(window_.description(), "A compact submachine gun.");
    EXPECT_EQ(window_.counter()->text(), "2");
}

TEST_F(ListClicksTest, DoubleClickOnTheCheckBoxTogglesOnce) {
    loadwise::CCheckListCtrl& list = window_.list(0);
    const QPoint box = list.CheckImageRect(1).center();
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, box);
    EXPECT_TRUE(list.GetCheck(1));
    EXPECT_EQ(window_.counter()->text(), "3");
}

TEST_F(ListClicksTest, RowWithoutDescriptionFileSaysSo) {
    window_.ClickRowText(0, 2);
    EXPECT_EQ(window_.description(), "No description available.");
}

TEST_F(ListClicksTest, PressBelowTheRowsKeepsTheDescriptionAndRecounts) {
    window_.ClickRowText(0, 0);
    ASSERT_EQ(window_.description(), "A short carbine.");
    // A change the window has not counted yet, then a press on no row.
    window_.list(0).SetCheck(1, true);
    window_.ClickBelowRows(0);
    EXPECT_EQ(window_.description(), "A short carbine.");
    EXPECT_EQ(window_.counter()->text(), "3");
}

TEST_F(ListClicksTest, HeadingClicksSortWithOurRules) {
    // Name: Rook Carbine, Harrow SMG, Vesper; Mag: 30, 25, 8.
    window_.ClickHeading(0, 0);  // A: ascending
    EXPECT_EQ(window_.Column(0, 1), "harrow.txt,rook.txt,vesper.txt");
    window_.ClickHeading(0, 0);  // A again: descending
    EXPECT_EQ(window_.Column(0, 1), "vesper.txt,rook.txt,harrow.txt");
    window_.ClickHeading(0, 3);  // B: keeps the last direction, descending
    EXPECT_EQ(window_.Column(0, 3), "30,25,8");
    EXPECT_EQ(window_.list(0).Rows().SortColumn(), 3);
    EXPECT_EQ(window_.list(0).Rows().SortDirection(), -1);
    // Ticks travel with their rows.
    EXPECT_EQ(window_.list(0).GetCheck(0), true);   // rook
    EXPECT_EQ(window_.list(0).GetCheck(1), false);  // harrow
    // The view shows the model's order, not one of its own.
    EXPECT_EQ(window_.list(0).model()->index(0, 3).data().toString(), "30");
}

TEST_F(ListClicksTest, HeadingClickOnAnotherListSortsOnlyThatList) {
    window_.ClickTab(1);
    window_.ClickHeading(1, 0);  // Lyra 9, Vole .32: already ascending
    window_.ClickHeading(1, 0);
    EXPECT_EQ(window_.Column(1, 1), "vole32.txt,lyra9.txt");
    EXPECT_EQ(window_.Column(0, 1), "rook.txt,harrow.txt,vesper.txt");
    EXPECT_EQ(window_.list(0).Rows().SortColumn(), -1);
}

}  // namespace
}  // namespace loadwisetest
