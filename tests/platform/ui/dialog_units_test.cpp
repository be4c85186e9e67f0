#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>

#include "platform/ui/dialog_template.h"

namespace {

using platform::ui::DialogUnits;

QFont FontOfPixelSize(int pixels) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    return font;
}

TEST(DialogUnitsTest, BaseUnitsAreTheFontsAverageLetterWidthAndHeight) {
    for (int pixels : {11, 22}) {
        const QFont font = FontOfPixelSize(pixels);
        const DialogUnits units(font);
        const QFontMetrics metrics(font);
        const double average = metrics.horizontalAdvance(QStringLiteral(
                                   "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                               52.0;
        EXPECT_LE(std::abs(units.baseX() - average), 0.5 + 1e-9) << pixels;
        EXPECT_EQ(units.baseY(), metrics.ascent() + metrics.descent()) << pixels;
    }
}

TEST(DialogUnitsTest, DoubleFontDoublesTheLayout) {
    const DialogUnits small(FontOfPixelSize(11));
    const DialogUnits large(FontOfPixelSize(22));
    EXPECT_NEAR(large.baseX(), 2 * small.baseX(), 1);
    EXPECT_NEAR(large.baseY(), 2 * small.baseY(), 2);
    const QSize smallDialog = small.ToPixels(438, 231);
    const QSize largeDialog = large.ToPixels(438, 231);
    EXPECT_NEAR(largeDialog.width(), 2 * smallDialog.width(), 438 / 4 + 1);
    EXPECT_GT(largeDialog.height(), smallDialog.height() * 3 / 2);
}

// Each value is mapped on its own and rounded half away from zero.
TEST(DialogUnitsTest, MapsEachValueWithRounding) {
    for (int pixels : {11, 13, 16, 22}) {
        const DialogUnits units(FontOfPixelSize(pixels));
        const int bx = units.baseX();
        const int by = units.baseY();
        struct Case {
            int x, y, width, height;
        };
        for (const Case& c : {Case{0, 0, 0, 0}, Case{1, 1, 1, 1}, Case{2, 4, 3, 5},
                              Case{381, 7, 50, 14}, Case{7, 180, 367, 44}, Case{-3, -5, 2, 3}}) {
            const auto round = [](int value, int base, int divisor) {
                const double exact = double(value) * base / divisor;
                return int(exact < 0 ? exact - 0.5 : exact + 0.5);
            };
            const QRect rect = units.ToPixels(c.x, c.y, c.width, c.height);
            EXPECT_EQ(rect.x(), round(c.x, bx, 4)) << pixels << " x " << c.x;
            EXPECT_EQ(rect.y(), round(c.y, by, 8)) << pixels << " y " << c.y;
            EXPECT_EQ(rect.width(), round(c.width, bx, 4)) << pixels << " w " << c.width;
            EXPECT_EQ(rect.height(), round(c.height, by, 8)) << pixels << " h " << c.height;
        }
    }
}

}  // namespace
