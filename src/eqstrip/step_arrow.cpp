#include "eqstrip/step_arrow.h"

#include <QPainter>
#include <QPainterPath>

namespace korvanex {

StepArrow::StepArrow(int direction, QWidget* parent)
    : QAbstractButton(parent), direction_(direction) {
    setFocusPolicy(Qt::NoFocus); // the keys stay with the gain knob
}

void StepArrow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(1.0, 1.0, -1.0, -1.0);
    const double cx = area.center().x();
    const double cy = area.center().y();
    const double half = std::min(area.width(), area.height()) / 2.0 - 0.5;
    const double tip = direction_ < 0 ? cx - half * 0.8 : cx + half * 0.8;
    const double base = direction_ < 0 ? cx + half * 0.8 : cx - half * 0.8;

    QPainterPath arrow;
    arrow.moveTo(tip, cy);
    arrow.lineTo(base, cy - half * 1.3);
    arrow.lineTo(base, cy + half * 1.3);
    arrow.closeSubpath();

    QColor fill = isDown() ? QColor(30, 90, 170) : QColor(60, 70, 78);
    if (!isEnabled()) {
        fill = QColor(178, 184, 188);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(arrow);
}

} // namespace korvanex
