#pragma once
// A check box whose text wraps onto several lines, aligned to the top, as a
// multi-line Windows check box shows it when its text is wider than the box.

#include <QCheckBox>

namespace platform::ui {

class WrappingCheckBox : public QCheckBox {
    Q_OBJECT
  public:
    explicit WrappingCheckBox(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

  private:
    QRect IndicatorRect() const;
    QRect TextRect() const;
};

}  // namespace platform::ui
