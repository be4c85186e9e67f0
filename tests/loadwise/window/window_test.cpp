// The Loadwise window driven as a user does, with the mouse and the keyboard.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
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

struct Window {  // presses on check boxes, row texts, headings, tabs and buttons (by control id)
    explicit Window(const platform::WinePrefix& prefix) : dialog(prefix) {
        dialog.OnInitDialog();
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    QWidget* Find(const char* id) { return dialog.findChild<QWidget*>(QString::fromLatin1(id)); }
    loadwise::CCheckListCtrl& List(int tab) { return *dialog.List(tab); }
    std::string Counter() {
        return dialog.findChild<QLabel*>("IDC_SELECTED_COUNT")->text().toStdString();
    }

    void Click(QWidget* widget, QPoint at) { QTest::mouseClick(widget, Qt::LeftButton, {}, at); }
    void Click(const char* id) { Click(Find(id), QPoint(4, 4)); }
    void ClickBox(int tab, int row) {
        Click(List(tab).viewport(), List(tab).CheckImageRect(row).center());
    }
    void ClickHeading(int tab, int column) {
        QHeaderView* header = List(tab).header();
        Click(header->viewport(), QPoint(header->sectionViewportPosition(column) + 5, 5));
    }
    void ClickTab(int tab) {
        QTabBar* bar = dialog.findChild<QTabWidget*>("IDC_KIT_TAB")->tabBar();
        Click(bar, bar->tabRect(tab).center());
    }
    std::string Column(int tab, int column) {  // texts top to bottom, "+" when ticked
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
    testsupport::KitInstallation kit(testsupport::SmallKit(), {.gameKey = false, .gameValues = {}});
    testsupport::MessageRecorder messages;
    Window window(kit.prefix());
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Error opening main reg key"});
    EXPECT_EQ(window.List(0).GetRowCount(), 0);
}

// The box toggles and selects, the text only selects; then keys, each followed by the counter
// and the row's description. Return on the list neither saves nor ends; Escape ends unsaved.
TEST_F(WindowTest, BoxesTextsAndKeysAndReturnPressesOnlyTheFocusedButton) {
    const std::vector<std::string> before = kit_.KitFiles();
    loadwise::CCheckListCtrl& list = window_.List(0);
    ASSERT_EQ(list.GetRowCount(), 3);
    EXPECT_FALSE(window_.dialog.windowIcon().pixmap(32).isNull()) << "the icon's resource";
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&list);
    const auto heard = [&](int row) { return table->tableInterface()->cellAt(row, 0)->state(); };
    EXPECT_TRUE(heard(0).checkable && heard(0).checked && !heard(1).checked) << "screen readers";
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, list.CheckImageRect(1).center());
    EXPECT_EQ(window_.Column(0, 1), "rook.txt+ harrow.txt+ vesper.txt+ ");  // toggled once
    window_.ClickBox(0, 0);
    EXPECT_EQ(window_.Column(0, 1), "rook.txt harrow.txt+ vesper.txt+ ");
    EXPECT_EQ(window_.dialog.Description(), "A short carbine.");
    const QRect text = list.visualRect(list.model()->index(1, 0));
    window_.Click(list.viewport(), QPoint(text.right() - 4, text.center().y()));
    EXPECT_EQ(window_.Column(0, 1), "rook.txt harrow.txt+ vesper.txt+ ");
    EXPECT_EQ(window_.dialog.Description(), "A compact submachine gun.");
    list.setFocus();
    const std::tuple<Qt::Key, const char*, const char*> steps[] = {
        {Qt::Key_Space, "1", "A compact submachine gun."},
        {Qt::Key_Down, "1", "No description available."},
        {Qt::Key_Space, "0", "No description available."},
        {Qt::Key_PageUp, "0", "A short carbine."},
        {Qt::Key_Space, "1", "A short carbine."},
        {Qt::Key_Return, "1", "A short carbine."}};
    for (const auto& [key, counter, description] : steps) {
        QTest::keyClick(&list, key);
        EXPECT_EQ(window_.Counter(), counter) << key;
        EXPECT_EQ(window_.dialog.Description(), description) << key;
    }
    EXPECT_EQ(window_.Column(0, 1), "rook.txt+ harrow.txt vesper.txt ");
    window_.Find("IDC_SELECT_ALL")->setFocus();
    QTest::keyClick(window_.Find("IDC_SELECT_ALL"), Qt::Key_Return);
    EXPECT_EQ(window_.Counter(), "3");
    EXPECT_TRUE(window_.dialog.isVisible());
    QTest::keyClick(&window_.dialog, Qt::Key_Escape);
    EXPECT_EQ(window_.dialog.result(), QDialog::Rejected);
    EXPECT_EQ(kit_.KitFiles(), before);
}

// The window's context menu and the About button open the About box.
TEST_F(WindowTest, AboutEntryAndButtonOpenTheAboutBox) {
    auto* entry = window_.dialog.findChild<QAction*>("IDM_ABOUTBOX");
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(window_.dialog.actions().contains(entry));
    EXPECT_EQ(window_.dialog.contextMenuPolicy(), Qt::ActionsContextMenu);
    for (const std::function<void()>& open : std::initializer_list<std::function<void()>>{
             [&] { entry->trigger(); }, [&] { window_.Click("IDC_ABOUT"); }}) {
        QString shown;
        QTimer::singleShot(0, [&] {
            shown = QApplication::activeModalWidget()->windowTitle();
            QApplication::activeModalWidget()->close();
        });
        open();
        EXPECT_EQ(shown, "About Loadwise");
    }
}

// Each step "action:counter", with "+" when Save may be pressed. Actions: "=" none, "bTR" the
// box of tab T row R, "tT" tab T, "m" Multiplayer Only, "a" Select All, "u" Unselect All.
TEST(CounterRulesTest, CounterAndSaveFollowEachStep) {
    // The tab whose items are replaced, by how many, how many of them active, and the steps.
    const std::tuple<int, int, int, const char*> scenarios[] = {
        // 33 Primary items need Multiplayer Only; the counter then shows Special.
        {0, 33, 33, "=:33- m:2+ m:2- b00:32+"},
        {2, 32, 0, "t2:1+ a:33- m:33+ m:33- b20:32+"},  // Special counts one more
        {1, 2, 0, "=:2+ t1:0- t0:2- t1:0- b11:1+"},  // an empty tab shown blocks Save until ticked
        {1, 2, 0, "m:2-"},                           // Multiplayer Only judges every tab again
        {0, 3, 2, "t1:1+ u:0- t0:2- a:3- t1:0- a:2+"}};  // (Un)select All: the shown tab only
    const char* const buttons[] = {"IDC_MULTIPLAYER_ONLY", "IDC_SELECT_ALL", "IDC_UNSELECT_ALL"};
    for (const auto& [tab, count, active, steps] : scenarios) {
        testsupport::Kit items = testsupport::SmallKit();
        items[tab].clear();
        for (int i = 1; i <= count; ++i) {
            items[tab].push_back({"i" + std::to_string(i) + ".txt", "", i <= active, "30", ""});
        }
        testsupport::KitInstallation kit(items);
        testsupport::MessageRecorder messages;
        Window window(kit.prefix());
        std::istringstream in(steps);
        for (std::string step; in >> step;) {
            if (step[0] == 'b') {
                window.ClickBox(step[1] - '0', step[2] - '0');
            } else if (step[0] == 't') {
                window.ClickTab(step[1] - '0');
            } else if (step[0] != '=') {
                window.Click(buttons[std::string("mau").find(step[0])]);
            }
            EXPECT_EQ(window.Counter() + (window.Find("IDOK")->isEnabled() ? "+" : "-"),
                      step.substr(step.find(':') + 1))
                << steps << " at " << step;
        }
    }
}

// Headings sort their own list, the direction carrying over to the next heading. A failed Save
// names the file and changes nothing; then Save writes the ticks, whatever the row order.
TEST_F(WindowTest, HeadingsSortAndSaveWritesTheTicksOrSaysWhichFileFailed) {
    const std::vector<std::string> before = kit_.KitFiles();
    const fs::path special = kit_.UnixPath(kit_.KitList(2));
    fs::rename(special, special.string() + ".aside");
    window_.ClickBox(0, 0);      // rook off
    window_.ClickBox(0, 1);      // harrow on
    window_.ClickHeading(0, 0);  // Name, ascending
    EXPECT_EQ(window_.Column(0, 1), "harrow.txt+ rook.txt vesper.txt+ ");
    window_.ClickHeading(0, 0);  // again: descending
    EXPECT_EQ(window_.Column(0, 1), "vesper.txt+ rook.txt harrow.txt+ ");
    window_.ClickHeading(0, 3);  // Mag keeps the last direction
    EXPECT_EQ(window_.Column(0, 3), "30 25+ 8+ ");
    QTimer::singleShot(0, [] {  // Shift+F10 offers the headings' sort from the keyboard
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->text() == QStringLiteral("Sort by Name")) {
                action->trigger();
            }
        }
        menu->close();
    });
    QTest::keyClick(&window_.List(0), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(window_.Column(0, 1), "vesper.txt+ rook.txt harrow.txt+ ");
    EXPECT_EQ(window_.Column(1, 1), "lyra9.txt+ vole32.txt ");
    window_.ClickTab(2);
    window_.ClickBox(2, 0);  // medkit on
    window_.Click("IDOK");
    ASSERT_EQ(messages_.messages().size(), 1u);
    EXPECT_NE(messages_.messages()[0].text.find("special.txt"), std::string::npos);
    EXPECT_TRUE(window_.dialog.isVisible());
    fs::rename(special.string() + ".aside", special);
    EXPECT_EQ(kit_.KitFiles(), before);
    window_.Find("IDOK")->setFocus();
    QTest::keyClick(window_.Find("IDOK"), Qt::Key_Return);
    EXPECT_EQ(window_.dialog.result(), QDialog::Accepted);
    EXPECT_EQ(kit_.KitFiles()[3],
              CrLfLines({"// kit list", "//\"rook.txt\"", "\"harrow.txt\"", "\"vesper.txt\""}));
    EXPECT_EQ(kit_.KitFiles()[5], CrLfLines({"// kit list", "\"medkit.txt\"", "\"flash.txt\""}));
    EXPECT_EQ(kit_.KitFiles()[4], before[4]);  // Secondary as it was
}

// Rating words are never cut and Name takes the rest, at 1x, 1.5x (144 dpi) and 2x the font.
TEST_F(WindowTest, ColumnsFitTheFontAtEachScale) {
    const QFont previousFont = QApplication::font();
    for (int pixels : {13, 20, 26}) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(pixels);
        QApplication::setFont(font);
        Window window(kit_.prefix());
        loadwise::CCheckListCtrl& list = window.List(0);
        const QHeaderView* header = list.header();
        // The text of a cell sits inside a margin on either side.
        const int margin = 2 * (list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
        const int needed = list.fontMetrics().horizontalAdvance(QStringLiteral("2-Outstanding"));
        for (int column = kitdata::kAccuracyColumn; column <= kitdata::kReticleColumn; ++column) {
            EXPECT_GE(header->sectionSize(column), needed + margin) << pixels << " " << column;
        }
        EXPECT_GE(header->length(), list.viewport()->width()) << pixels;
        EXPECT_GT(header->sectionSize(kitdata::kNameColumn),
                  header->sectionSize(kitdata::kMagColumn));
    }
    QApplication::setFont(previousFont);
}

}  // namespace
}  // namespace loadwisetest
