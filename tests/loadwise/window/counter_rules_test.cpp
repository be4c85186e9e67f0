// The "Selected:" counter and when Save may be pressed, across tabs and
// Multiplayer Only.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "kit_fixture.h"
#include "support/message_recorder.h"
#include "window_driver.h"

namespace loadwisetest {
namespace {

struct Shown {
    std::string counter;
    bool saveEnabled;
};

Shown State(WindowDriver& window) {
    return {window.counter()->text().toStdString(), window.button("IDOK")->isEnabled()};
}

#define EXPECT_SHOWN(window, count, save)                   \
    do {                                                    \
        const Shown shown = State(window);                  \
        EXPECT_EQ(shown.counter, count);                    \
        EXPECT_EQ(shown.saveEnabled, save) << "Save state"; \
    } while (false)

TEST(CounterRulesTest, ThirtyThreePrimaryItemsNeedMultiplayerOnly) {
    Kit kit = SmallKit();
    kit[0] = ManyItems("p", 33, 33);
    KitInstallation installation(kit);
    testsupport::MessageRecorder messages;
    WindowDriver window(installation.prefix());

    EXPECT_SHOWN(window, "33", false);
    window.ClickMultiplayerOnly();
    EXPECT_TRUE(window.multiplayerOnly()->isChecked());
    // The counter shows the Special figure after Multiplayer Only, whatever the tab.
    EXPECT_SHOWN(window, "2", true);
    window.ClickMultiplayerOnly();
    EXPECT_SHOWN(window, "2", false);
    window.ClickCheckBox(0, 0);
    EXPECT_SHOWN(window, "32", true);
}

TEST(CounterRulesTest, SpecialCountsOneMore) {
    Kit kit = SmallKit();
    kit[2] = ManyItems("s", 32, 0);
    KitInstallation installation(kit);
    testsupport::MessageRecorder messages;
    WindowDriver window(installation.prefix());

    window.ClickTab(2);
    EXPECT_SHOWN(window, "1", true);
    window.Click("IDC_SELECT_ALL");
    EXPECT_SHOWN(window, "33", false);
    window.ClickMultiplayerOnly();
    EXPECT_SHOWN(window, "33", true);
    window.ClickMultiplayerOnly();
    window.ClickCheckBox(2, 0);
    EXPECT_SHOWN(window, "32", true);
}

TEST(CounterRulesTest, UnselectAllDisablesSaveWhateverMultiplayerOnlySays) {
    KitInstallation installation(SmallKit());
    testsupport::MessageRecorder messages;
    WindowDriver window(installation.prefix());
    window.ClickMultiplayerOnly();
    window.ClickTab(0);
    window.Click("IDC_UNSELECT_ALL");
    EXPECT_SHOWN(window, "0", false);
    window.Click("IDC_SELECT_ALL");
    EXPECT_SHOWN(window, "3", true);
}

TEST(CounterRulesTest, AnUncountedTabDoesNotBlockSaveUntilShown) {
    Kit kit = SmallKit();
    for (Item& item : kit[1]) {
        item.active = false;
    }
    KitInstallation installation(kit);
    testsupport::MessageRecorder messages;
    WindowDriver window(installation.prefix());

    EXPECT_SHOWN(window, "2", true);
    window.ClickTab(1);
    EXPECT_SHOWN(window, "0", false);
    // Back on an acceptable tab, Save stays off while Secondary is not.
    window.ClickTab(0);
    EXPECT_SHOWN(window, "2", false);
    window.ClickTab(1);
    window.ClickCheckBox(1, 1);
    EXPECT_SHOWN(window, "1", true);
}

TEST(CounterRulesTest, MultiplayerOnlyJudgesAllTabsAgain) {
    Kit kit = SmallKit();
    for (Item& item : kit[1]) {
        item.active = false;
    }
    KitInstallation installation(kit);
    testsupport::MessageRecorder messages;
    WindowDriver window(installation.prefix());
    ASSERT_TRUE(window.button("IDOK")->isEnabled());
    window.ClickMultiplayerOnly();  // counts Secondary too, which has no ticks
    EXPECT_SHOWN(window, "2", false);
}

TEST(CounterRulesTest, SelectAndUnselectAllWorkOnTheShownTabOnly) {
    KitInstallation installation(SmallKit());
    testsupport::MessageRecorder messages;
    WindowDriver window(installation.prefix());
    window.ClickTab(1);
    window.Click("IDC_SELECT_ALL");
    EXPECT_EQ(window.CheckedRows(1), 2);
    EXPECT_EQ(window.CheckedRows(0), 2);
    EXPECT_EQ(window.CheckedRows(2), 1);
    window.ClickTab(2);
    window.Click("IDC_UNSELECT_ALL");
    EXPECT_EQ(window.CheckedRows(2), 0);
    EXPECT_EQ(window.CheckedRows(1), 2);
    EXPECT_SHOWN(window, "1", true);
}

TEST(CounterRulesTest, TabChangesKeepTheDescriptionAndShowOneList) {
    KitInstallation installation(SmallKit());
    testsupport::MessageRecorder messages;
    WindowDriver window(installation.prefix());
    window.ClickRowText(0, 1);
    ASSERT_EQ(window.description(), "A compact submachine gun.");
    for (int tab : {1, 2, 0, 2}) {
        window.ClickTab(tab);
        EXPECT_EQ(window.dialog().CurrentTab(), tab);
        for (int other = 0; other < 3; ++other) {
            EXPECT_EQ(window.list(other).isVisible(), other == tab) << tab << " " << other;
        }
        EXPECT_EQ(window.description(), "A compact submachine gun.");
    }
    window.ClickRowText(2, 1);
    EXPECT_EQ(window.description(), "Blinds.");
}

TEST(CounterRulesTest, MnemonicsWorkFromTheKeyboard) {
    KitInstallation installation(SmallKit());
    testsupport::MessageRecorder messages;
    WindowDriver window(installation.prefix());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window.dialog()));

    QTest::keyClick(&window.dialog(), Qt::Key_U, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&window] { return window.CheckedRows(0) == 0; }));
    EXPECT_SHOWN(window, "0", false);
    // Alt+A belongs to Select All and About: it moves the focus between them.
    QTest::keyClick(&window.dialog(), Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(window.button("IDC_SELECT_ALL")->hasFocus() ||
                window.button("IDC_ABOUT")->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(window.button("IDC_SELECT_ALL")->hasFocus() ||
                window.button("IDC_ABOUT")->hasFocus());
    window.button("IDC_SELECT_ALL")->setFocus();
    QTest::keyClick(window.button("IDC_SELECT_ALL"), Qt::Key_Space);
    EXPECT_EQ(window.CheckedRows(0), 3);
    QTest::keyClick(&window.dialog(), Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&window] { return !window.dialog().isVisible(); }));
    EXPECT_EQ(window.dialog().result(), QDialog::Rejected);
}

}  // namespace
}  // namespace loadwisetest
