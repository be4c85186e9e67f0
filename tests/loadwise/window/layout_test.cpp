// The window's layout in dialog units, its tab order, what it looks like at
// a small and a large font, and the program icon.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <algorithm>

#include "kit_fixture.h"
#include "loadwise/res/program_icon.h"
#include "platform/ui/dialog_template.h"
#include "support/message_recorder.h"
#include "window_driver.h"

namespace loadwisetest {
namespace {

using platform::ui::DialogUnits;
using namespace loadwise;

struct Placement {
    const char* id;
    int x, y, width, height;
};

constexpr Placement kPlacements[] = {
    {"IDOK", 381, 7, 50, 14},
    {"IDCANCEL", 381, 26, 50, 14},
    {"IDC_LIST_PRIMARY", 16, 28, 349, 137},
    {"IDC_KIT_TAB", 7, 7, 367, 168},
    {"IDC_LIST_SECONDARY", 16, 28, 349, 138},
    {"IDC_DESCRIPTION", 7, 180, 367, 44},
    {"IDC_SELECT_ALL", 381, 140, 50, 14},
    {"IDC_UNSELECT_ALL", 381, 161, 50, 14},
    {"IDC_SELECTED_COUNT", 382, 73, 49, 8},
    {"IDC_LIST_SPECIAL", 16, 28, 349, 137},
    {"IDC_ABOUT", 381, 210, 50, 14},
    {"IDC_MULTIPLAYER_ONLY", 380, 111, 51, 20},
};

class LayoutTest : public ::testing::TestWithParam<int> {
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

TEST_P(LayoutTest, ControlsSitWhereTheTemplatePutsThem) {
    WindowDriver window(kit_.prefix());
    const DialogUnits units(window.dialog().font());
    EXPECT_EQ(window.dialog().size(), units.ToPixels(438, 231));
    for (const Placement& placement : kPlacements) {
        auto* widget = window.dialog().findChild<QWidget*>(placement.id);
        ASSERT_NE(widget, nullptr) << placement.id;
        EXPECT_EQ(widget->geometry(),
                  units.ToPixels(placement.x, placement.y, placement.width, placement.height))
            << placement.id;
    }
}

TEST_P(LayoutTest, NoTextIsClipped) {
    WindowDriver window(kit_.prefix());
    for (QAbstractButton* button : window.dialog().findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty() || qobject_cast<QPushButton*>(button) == nullptr) {
            continue;
        }
        const int needed =
            button->fontMetrics().horizontalAdvance(QString(button->text()).remove('&'));
        EXPECT_LE(needed + 4, button->width()) << button->text().toStdString();
        EXPECT_LE(button->fontMetrics().height(), button->height());
    }
    for (QLabel* label : window.dialog().findChildren<QLabel*>()) {
        if (label->text().isEmpty()) {
            continue;
        }
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
            << label->text().toStdString();
        EXPECT_LE(label->fontMetrics().height(), label->height()) << label->text().toStdString();
    }
    // Multiplayer Only wraps to two lines inside its box.
    QWidget* check = window.dialog().findChild<QWidget*>("IDC_MULTIPLAYER_ONLY");
    EXPECT_LE(2 * check->fontMetrics().height(), check->height());
    // The tab strip leaves the lists' page free.
    auto* tabs = window.tabs();
    EXPECT_LE(tabs->tabBar()->geometry().bottom() + tabs->geometry().top(),
              window.list(0).geometry().top());
}

TEST_P(LayoutTest, TabFollowsTheTemplateOrder) {
    WindowDriver window(kit_.prefix());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window.dialog()));
    // Hidden lists are skipped; the tab control's focus lands on its tab bar.
    const char* order[] = {"IDOK",
                           "IDCANCEL",
                           "IDC_LIST_PRIMARY",
                           "IDC_KIT_TAB",
                           "IDC_DESCRIPTION",
                           "IDC_SELECT_ALL",
                           "IDC_UNSELECT_ALL",
                           "IDC_ABOUT",
                           "IDC_MULTIPLAYER_ONLY",
                           "IDOK"};
    ASSERT_TRUE(window.button("IDOK")->hasFocus());
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto* expected = window.dialog().findChild<QWidget*>(order[i]);
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == expected || expected->isAncestorOf(focus))
            << order[i] << " has not the focus";
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, LayoutTest, ::testing::Values(11, 13, 26));

TEST(ResourcesTest, ProgramIconUsesSixteenColoursAtClassicSizes) {
    const QSet<QRgb> palette = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int size : {16, 32}) {
        const QImage icon = DrawProgramIcon(size);
        ASSERT_EQ(icon.size(), QSize(size, size));
        int opaque = 0;
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                const QRgb pixel = icon.pixel(x, y);
                if (qAlpha(pixel) == 0) {
                    continue;
                }
                ++opaque;
                EXPECT_EQ(qAlpha(pixel), 255) << size << " " << x << "," << y;
                EXPECT_TRUE(palette.contains(pixel & 0xFFFFFF)) << size << " " << x << "," << y;
            }
        }
        EXPECT_GT(opaque, size * size / 2);
    }
    EXPECT_FALSE(ProgramIcon().pixmap(256, 256).isNull());
}

}  // namespace
}  // namespace loadwisetest
