#include "varnopts/res/program_icon.h"

#include <QPainter>
#include <QPainterPath>

#include "platform/ui/painted_icon.h"

namespace varnopts::res {

void PaintProgramIcon(QPainter& painter, qreal size) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Everything is drawn on a 64 x 64 grid and scaled.
    painter.scale(size / 64.0, size / 64.0);

    // Badge: rounded square, field green with a darker rim.
    QLinearGradient field(0, 0, 0, 64);
    field.setColorAt(0.0, QColor(0x5b, 0x6e, 0x3a));
    field.setColorAt(1.0, QColor(0x33, 0x40, 0x1f));
    painter.setPen(QPen(QColor(0x1e, 0x26, 0x12), 2.0));
    painter.setBrush(field);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);

    // The "V", in sand colour.
    QPainterPath letter;
    letter.moveTo(14, 14);
    letter.lineTo(24, 14);
    letter.lineTo(32, 40);
    letter.lineTo(40, 14);
    letter.lineTo(50, 14);
    letter.lineTo(37, 52);
    letter.lineTo(27, 52);
    letter.closeSubpath();
    painter.setPen(QPen(QColor(0x3a, 0x2e, 0x14), 1.5));
    painter.setBrush(QColor(0xe8, 0xd6, 0x9a));
    painter.drawPath(letter);

    // Gun sight: a ring with four ticks, in signal red.
    const QColor sight(0xd8, 0x2a, 0x1e);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(sight, 3.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawEllipse(QPointF(32, 32), 17, 17);
    painter.drawLine(QPointF(32, 9), QPointF(32, 18));
    painter.drawLine(QPointF(32, 46), QPointF(32, 55));
    painter.drawLine(QPointF(9, 32), QPointF(18, 32));
    painter.drawLine(QPointF(46, 32), QPointF(55, 32));
    painter.setBrush(sight);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(32, 32), 2.2, 2.2);
    painter.restore();
}

QIcon ProgramIcon() {
    return platform::ui::PaintedIcon(
        [](QPainter& painter, int size) { PaintProgramIcon(painter, size); });
}

}  // namespace varnopts::res
