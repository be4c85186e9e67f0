#pragma once
// Icon 128, the program icon: a rifle scope's reticle over an olive kit case.

#include <QIcon>
#include <QImage>
#include <QPainter>

namespace loadwise {

// The icon drawn at size x size pixels. At 16 and 32 pixels it uses only the
// 16 standard colours and no smoothing, so it stays crisp at its pixel size; larger
// sizes are smoothed for high-resolution screens and task bars.
QImage DrawProgramIcon(int size);

// The same drawing onto any paint device (an image, an SVG file), painted in
// a size x size square at the origin.
void PaintProgramIcon(QPainter& painter, int size);

// The icon at any size, drawn when a size is first asked for.
QIcon ProgramIcon();

}  // namespace loadwise
