#include "platform/ui/painted_icon.h"

#include <QIconEngine>
#include <QPixmap>
#include <algorithm>
#include <map>
#include <utility>

namespace platform::ui {
namespace {

class PaintedIconEngine : public QIconEngine {
  public:
    explicit PaintedIconEngine(IconPainter paint) : paint_(std::move(paint)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::max(1, std::min(size.width(), size.height()));
        auto found = drawn_.find(side);
        if (found == drawn_.end()) {
            found = drawn_.emplace(side, QPixmap::fromImage(PaintIconImage(paint_, side))).first;
        }
        return found->second;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    }
    QIconEngine* clone() const override { return new PaintedIconEngine(paint_); }

  private:
    IconPainter paint_;
    std::map<int, QPixmap> drawn_;
};

}  // namespace

QImage PaintIconImage(const IconPainter& paint, int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, size);
    painter.end();
    return image;
}

QIcon PaintedIcon(IconPainter paint) {
    return QIcon(new PaintedIconEngine(std::move(paint)));
}

}  // namespace platform::ui
