// Presses on check boxes, row texts and headings of the real lists.

#include <gtest/gtest.h>

#include <QItemSelectionModel>

#include "support/kit_fixture.h"
#include "support/message_recorder.h"
#include "window_driver.h"

namespace loadwisetest {
namespace {

class ListClicksTest : public ::testing::Test {
  protected:
    bool Selected(int row) { return window_.List(0).selectionModel()->isRowSelected(row, {}); }

    testsupport::KitInstallation kit_;
    testsupport::MessageRecorder messages_;
    Window window_{kit_.prefix()};
};

TEST_F(ListClicksTest, TheBoxTogglesAndSelectsTheTextOnlySelects) {
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

TEST_F(ListClicksTest, HeadingsSortTheirOwnListAndTheDirectionCarriesOver) {
    window_.ClickHeading(0, 0);  // Name, ascending
    EXPECT_EQ(window_.Column(0, 1), "harrow.txt rook.txt+ vesper.txt+ ");
    window_.ClickHeading(0, 0);  // again: descending
    EXPECT_EQ(window_.Column(0, 1), "vesper.txt+ rook.txt+ harrow.txt ");
    window_.ClickHeading(0, 3);  // Mag keeps the last direction
    EXPECT_EQ(window_.Column(0, 3), "30+ 25 8+ ");
    EXPECT_EQ(window_.List(0).model()->index(0, 3).data().toString(), "30");
    EXPECT_EQ(window_.Column(1, 1), "lyra9.txt+ vole32.txt ");
    EXPECT_EQ(window_.List(1).Rows().SortColumn(), -1);
}

}  // namespace
}  // namespace loadwisetest
