#include <QFontMetrics>

#include "platform/ui/dialog_template.h"

namespace platform::ui {
namespace {

// Windows' MulDiv: value * numerator / denominator, rounded half away from zero.
int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the 52 letters, rounded as Windows rounds it.
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX_ = std::max(1, (letters / 26 + 1) / 2);
    baseY_ = std::max(1, metrics.height());
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    return QRect(MulDiv(x, baseX_, 4), MulDiv(y, baseY_, 8), MulDiv(width, baseX_, 4),
                 MulDiv(height, baseY_, 8));
}

QSize DialogUnits::ToPixels(int width, int height) const {
    return QSize(MulDiv(width, baseX_, 4), MulDiv(height, baseY_, 8));
}

}  // namespace platform::ui
