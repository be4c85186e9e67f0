#include "platform/ui/wrapping_check_box.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace platform::ui {

WrappingCheckBox::WrappingCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent) {}

QRect WrappingCheckBox::IndicatorRect() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const int width = style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, this);
    const int height = style()->pixelMetric(QStyle::PM_IndicatorHeight, &option, this);
    // Centred on the first line of text.
    const int top = std::max(0, (fontMetrics().height() - height) / 2);
    return QRect(0, top, width, height);
}

QRect WrappingCheckBox::TextRect() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    const int spacing = style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, this);
    const int left = IndicatorRect().right() + 1 + spacing;
    return QRect(left, 0, std::max(0, width() - left), height());
}

QSize WrappingCheckBox::sizeHint() const {
    return QCheckBox::sizeHint();
}

QSize WrappingCheckBox::minimumSizeHint() const {
    return IndicatorRect().size();
}

void WrappingCheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);

    QStyleOptionButton indicator = option;
    indicator.rect = IndicatorRect();
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, indicator);

    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;
    const QRect textRect = TextRect();
    painter.drawItemText(textRect, flags, option.palette, isEnabled(), text(),
                         QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.boundingRect(textRect, flags, QString(text()).remove(QLatin1Char('&')))
                         .adjusted(-1, 0, 1, 0)
                         .intersected(rect());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool WrappingCheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

}  // namespace platform::ui
