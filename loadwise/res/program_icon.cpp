#include "loadwise/res/program_icon.h"

#include <QPainter>
#include <QPainterPath>

#include "platform/ui/painted_icon.h"

namespace loadwise {
namespace {

// Colours of the 16-colour palette.
const QColor kBlack(0, 0, 0);
const QColor kOlive(128, 128, 0);
const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kGray(128, 128, 128);

}  // namespace

QImage DrawProgramIcon(int size) {
    return platform::ui::PaintIconImage(PaintProgramIcon, size);
}

void PaintProgramIcon(QPainter& painter, int size) {
    painter.save();
    const bool smooth = size > 32;
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    // Everything is laid out on a 32-unit grid.
    painter.scale(size / 32.0, size / 32.0);
    const double line = smooth ? 1.0 : 32.0 / size;  // at least one pixel wide

    // The kit case: an olive box with a handle and a lighter lid seam.
    painter.setPen(QPen(kBlack, line));
    painter.setBrush(kGray);
    painter.drawRect(QRectF(11.5, 3.5, 9, 4));  // handle
    painter.setBrush(kOlive);
    painter.drawRect(QRectF(2.5, 6.5, 27, 23));
    painter.setPen(QPen(kYellow, line));
    painter.drawLine(QPointF(4, 11.5), QPointF(28, 11.5));

    // The reticle: a white ring, cross hairs, a red centre.
    painter.setPen(QPen(kWhite, 2 * line));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(16, 19), 7, 7);
    painter.setPen(QPen(kWhite, line));
    painter.drawLine(QPointF(16, 10.5), QPointF(16, 27.5));
    painter.drawLine(QPointF(7.5, 19), QPointF(24.5, 19));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kRed);
    painter.drawRect(QRectF(15, 18, 2, 2));
    painter.restore();
}

QIcon ProgramIcon() {
    return platform::ui::PaintedIcon(PaintProgramIcon);
}

}  // namespace loadwise
