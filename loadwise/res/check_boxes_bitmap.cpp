#include "loadwise/res/check_boxes_bitmap.h"

#include <QPixmap>
#include <array>

namespace loadwise {
namespace {

constexpr QRgb kMask = qRgb(255, 0, 0);
constexpr QRgb kFrame = qRgb(128, 128, 128);
constexpr QRgb kInside = qRgb(255, 255, 255);
constexpr QRgb kTick = qRgb(0, 0, 0);

// The tick mark: for each row y, the x positions of its black pixels.
struct TickRow {
    int y;
    int firstX;
    int lastX;
};
constexpr std::array<TickRow, 9> kTickPixels = {{
    {4, 11, 11},
    {5, 10, 11},
    {6, 5, 5},
    {6, 9, 11},
    {7, 5, 6},
    {7, 8, 10},
    {8, 5, 9},
    {9, 6, 8},
    {10, 7, 7},
}};

void DrawBox(QImage& image, int left) {
    for (int y = 2; y <= 12; ++y) {
        for (int x = 3; x <= 13; ++x) {
            const bool edge = y == 2 || y == 12 || x == 3 || x == 13;
            image.setPixel(left + x, y, edge ? kFrame : kInside);
        }
    }
}

}  // namespace

QImage CheckBoxesBitmap() {
    QImage image(2 * kCheckImageSize, kCheckImageSize, QImage::Format_RGB32);
    image.fill(kMask);
    DrawBox(image, 0);
    DrawBox(image, kCheckImageSize);
    for (const TickRow& row : kTickPixels) {
        for (int x = row.firstX; x <= row.lastX; ++x) {
            image.setPixel(kCheckImageSize + x, row.y, kTick);
        }
    }
    return image;
}

QImage CheckBoxImage(int stateImageIndex) {
    QImage image(kCheckImageSize, kCheckImageSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    if (stateImageIndex != 1 && stateImageIndex != 2) {
        return image;
    }
    const QImage bitmap = CheckBoxesBitmap();
    const int left = (stateImageIndex - 1) * kCheckImageSize;
    for (int y = 0; y < kCheckImageSize; ++y) {
        for (int x = 0; x < kCheckImageSize; ++x) {
            const QRgb pixel = bitmap.pixel(left + x, y);
            if (pixel != kMask) {
                image.setPixel(x, y, pixel);
            }
        }
    }
    return image;
}

QIcon CheckBoxIcon(int stateImageIndex) {
    const QImage image = CheckBoxImage(stateImageIndex);
    const QPixmap normal = QPixmap::fromImage(image);
    // Pixel-doubled rather than smoothed, so the box stays sharp at 2x.
    QPixmap doubled = QPixmap::fromImage(image.scaled(
        2 * kCheckImageSize, 2 * kCheckImageSize, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    doubled.setDevicePixelRatio(2.0);
    QIcon icon;
    // A selected row shows the same box, not one tinted with the selection colour.
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Active, QIcon::Selected}) {
        icon.addPixmap(normal, mode);
        icon.addPixmap(doubled, mode);
    }
    return icon;
}

}  // namespace loadwise
