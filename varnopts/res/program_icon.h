#pragma once
// Icon 128, the program's icon: a gun sight over a "V" on a field-green
// badge, drawn in code so that it is sharp at every size.

#include <QIcon>
#include <QPainter>

namespace varnopts::res {

// The same drawing onto any paint device (an image, an SVG file), painted in
// a size x size square at the origin.
void PaintProgramIcon(QPainter& painter, qreal size);

// Icon 128 at any size, each size drawn when it is first asked for.
QIcon ProgramIcon();

}  // namespace varnopts::res
