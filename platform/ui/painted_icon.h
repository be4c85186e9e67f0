#pragma once
// Icons drawn in code. Drawing every size of an icon up front costs more than
// the rest of a window's start-up, so the icon draws a size only when one is
// asked for, and keeps it.

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <functional>

namespace platform::ui {

// Paints the drawing in a size x size square at the painter's origin.
using IconPainter = std::function<void(QPainter& painter, int size)>;

// The drawing on a transparent size x size image.
QImage PaintIconImage(const IconPainter& paint, int size);

// An icon of any size, each size painted when it is first asked for.
QIcon PaintedIcon(IconPainter paint);

}  // namespace platform::ui
