// The lists, Save and the other buttons worked with the keyboard alone.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "kit_fixture.h"
#include "support/message_recorder.h"
#include "window_driver.h"

namespace loadwisetest {
namespace {

class KeyboardTest : public ::testing::Test {
  protected:
    // Gives the Primary list the focus with row 0 current.
    loadwise::CCheckListCtrl& FocusList() {
        loadwise::CCheckListCtrl& list = window_.list(0);
        list.setFocus();
        list.setCurrentIndex(list.model()->index(0, 0));
        return list;
    }

    KitInstallation kit_{SmallKit()};
    testsupport::MessageRecorder messages_;
    WindowDriver window_{kit_.prefix()};
};

TEST_F(KeyboardTest, SpaceTogglesTheCurrentRowAsAPressOnItsBox) {
    loadwise::CCheckListCtrl& list = FocusList();
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Space);  // Harrow on
    EXPECT_TRUE(list.GetCheck(1));
    EXPECT_EQ(window_.counter()->text(), "3");
    EXPECT_EQ(window_.description(), "A compact submachine gun.");
    for (int row : {0, 1, 2}) {  // all off: the count forbids Save
        list.setCurrentIndex(list.model()->index(row, 0));
        QTest::keyClick(&list, Qt::Key_Space);
    }
    EXPECT_FALSE(list.GetCheck(0) || list.GetCheck(1) || list.GetCheck(2));
    EXPECT_EQ(window_.counter()->text(), "0");
    EXPECT_FALSE(window_.button("IDOK")->isEnabled());
}

TEST_F(KeyboardTest, MovingTheCurrentRowShowsItsDescription) {
    struct Case {
        Qt::Key key;
        int row;
        const char* description;
    };
    const Case cases[] = {
        {Qt::Key_Down, 1, "A compact submachine gun."},
        {Qt::Key_End, 2, "No description available."},
        {Qt::Key_Up, 1, "A compact submachine gun."},
        {Qt::Key_Home, 0, "A short carbine."},
        {Qt::Key_PageDown, 2, "No description available."},
        {Qt::Key_PageUp, 0, "A short carbine."},
    };
    loadwise::CCheckListCtrl& list = FocusList();
    for (const Case& c : cases) {
        QTest::keyClick(&list, c.key);
        EXPECT_EQ(list.currentIndex().row(), c.row) << c.key;
        EXPECT_EQ(window_.description().toStdString(), c.description) << c.key;
    }
    EXPECT_EQ(window_.counter()->text(), "2");  // no tick changed
}

TEST_F(KeyboardTest, ReturnPressesTheFocusedButtonOnly) {
    const std::vector<std::string> before = kit_.KitFiles();
    loadwise::CCheckListCtrl& list = FocusList();
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_TRUE(window_.dialog().isVisible());
    QPushButton* selectAll = window_.button("IDC_SELECT_ALL");
    selectAll->setFocus();
    QTest::keyClick(selectAll, Qt::Key_Return);
    EXPECT_EQ(window_.counter()->text(), "3");
    EXPECT_TRUE(window_.dialog().isVisible());
    EXPECT_EQ(kit_.KitFiles(), before);

    QPushButton* save = window_.button("IDOK");
    save->setFocus();
    QTest::keyClick(save, Qt::Key_Return);
    EXPECT_EQ(window_.dialog().result(), QDialog::Accepted);
    EXPECT_NE(kit_.KitFiles(), before);  // Harrow is offered now
}

}  // namespace
}  // namespace loadwisetest
