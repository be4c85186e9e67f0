#pragma once
// Icon 128, the program's icon: a gun sight over a "V" on a field-green
// badge, drawn in code so that it is sharp at every size.

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace varnopts::res {

// The icon at one size in device-independent pixels, for the given device
// pixel ratio.
QPixmap DrawProgramIcon(int size, qreal devicePixelRatio = 1.0);

// The same drawing onto any paint device (an image, an SVG file), painted in
// a size x size square at the origin.
void PaintProgramIcon(QPainter& painter, qreal size);

// Icon 128 with the usual sizes from 16 to 256 pixels.
QIcon ProgramIcon();

}  // namespace varnopts::res
