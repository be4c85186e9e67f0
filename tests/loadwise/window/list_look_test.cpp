// How the lists show themselves: columns wide enough for the rating words in
// the font in use, and check boxes that screen readers report with their state.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QTest>

#include "kit_fixture.h"
#include "loadwise/kitdata/item_list_reader.h"
#include "support/message_recorder.h"
#include "window_driver.h"

namespace loadwisetest {
namespace {

class ColumnWidthTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        previousFont_ = QApplication::font();
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(GetParam());
        QApplication::setFont(font);
    }
    void TearDown() override { QApplication::setFont(previousFont_); }

    QFont previousFont_;
    KitInstallation kit_{SmallKit()};
    testsupport::MessageRecorder messages_;
};

TEST_P(ColumnWidthTest, RatingWordsAreNeverCutAndNameTakesTheRest) {
    WindowDriver window(kit_.prefix());
    loadwise::CCheckListCtrl& list = window.list(0);
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

TEST(CheckBoxAccessibilityTest, ScreenReadersHearEachBoxAndItsState) {
    KitInstallation kit(SmallKit());
    testsupport::MessageRecorder messages;
    WindowDriver window(kit.prefix());
    loadwise::CCheckListCtrl& list = window.list(0);
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&list);
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->text(QAccessible::Name), "Primary items");
    const auto state = [&](int row) { return table->tableInterface()->cellAt(row, 0)->state(); };
    for (int row : {0, 1, 2}) {
        EXPECT_TRUE(state(row).checkable) << row;
        EXPECT_EQ(static_cast<bool>(state(row).checked), list.GetCheck(row)) << row;
    }
    window.ClickCheckBox(0, 1);
    EXPECT_TRUE(state(1).checked);
}

}  // namespace
}  // namespace loadwisetest
