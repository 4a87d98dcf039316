#include "eqstrip/knob_track.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace korvanex {

namespace {

constexpr double px(double twips) {
    return twips / KnobTrack::kTwipsPerPixel;
}

// Where the knob's centre line sits for a gain, in pixels from the track's top.
double gainY(double dB) {
    return px((12.0 - dB) / 24.0 * KnobTrack::kTravel + KnobTrack::kKnobHeight / 2.0);
}

const QColor kGroove(150, 160, 166);
const QColor kGrooveEdge(96, 106, 112);
const QColor kLevel(46, 116, 196);
const QColor kTick(110, 118, 124);
const QColor kScaleText(70, 76, 82);
const QColor kKnobEdge(72, 82, 90);
const QColor kKnobFocusEdge(30, 110, 210);
const QColor kIndicator(200, 40, 30);

} // namespace

KnobTrack::KnobTrack(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true); // a knob hovered with Alt held drags without a button
    setFocusPolicy(Qt::StrongFocus);
    scaleFont_.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
    scaleFont_.setPixelSize(9);
}

void KnobTrack::setKnobTop(double twips) {
    knobTop_ = twips;
    update();
}

double KnobTrack::drawnKnobTop() const {
    if (std::isnan(knobTop_)) {
        return kTravel / 2.0;
    }
    return std::clamp(knobTop_, 0.0, kTravel);
}

void KnobTrack::requestGain(double dB) {
    emit gainRequested(dB);
}

bool KnobTrack::overKnob(QPointF pos) const {
    const double x = pos.x() * kTwipsPerPixel;
    const double y = pos.y() * kTwipsPerPixel;
    const double top = drawnKnobTop();
    return x >= kKnobLeft && x < kKnobLeft + kKnobWidth && y >= top && y < top + kKnobHeight;
}

double KnobTrack::yInKnob(QPointF pos) const {
    return pos.y() * kTwipsPerPixel - drawnKnobTop();
}

// Input: the knob keeps the mouse from its press to the last release; a press elsewhere on
// the track only takes the keyboard focus (which the focus policy already gives).
void KnobTrack::mousePressEvent(QMouseEvent* event) {
    if (!knobGrabbed_ && !overKnob(event->position())) {
        keysOnKnob_ = false;
        return;
    }
    keysOnKnob_ = true;
    knobGrabbed_ = true;
    setCursor(Qt::SizeVerCursor);
    emit knobPressed(event->button(), yInKnob(event->position()));
}

void KnobTrack::mouseMoveEvent(QMouseEvent* event) {
    if (knobGrabbed_ || (event->buttons() == Qt::NoButton && overKnob(event->position()))) {
        emit knobMoved(event->buttons(), event->modifiers(), yInKnob(event->position()));
    }
}

void KnobTrack::mouseReleaseEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton) {
        knobGrabbed_ = false;
        unsetCursor();
    }
}

void KnobTrack::keyPressEvent(QKeyEvent* event) {
    emit keyPressed(event->key());
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        event->accept();
    } else {
        event->ignore();
    }
}

void KnobTrack::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void KnobTrack::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

// Drawing: scale on the left, groove with the boost/cut level under the knob, knob on top.
// Edges are snapped to device pixels so that thin lines stay sharp at every scaling; only
// the drawing is snapped, the knob's position itself stays exact.
double KnobTrack::snap(double logical) const {
    const double ratio = devicePixelRatioF();
    return std::round(logical * ratio) / ratio;
}

double KnobTrack::lineCentre(double logical) const {
    // A one-pixel line is sharp when it runs through the middle of a device pixel row.
    const double ratio = devicePixelRatioF();
    const bool oddWidth = static_cast<int>(std::round(ratio)) % 2 != 0;
    return snap(logical) + (oddWidth ? 0.5 / ratio : 0.0);
}

void KnobTrack::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double knobLeft = snap(px(kKnobLeft));
    const double grooveX = knobLeft + px(kKnobWidth) / 2.0;
    paintScale(painter, knobLeft, grooveX);

    const double top = lineCentre(gainY(12.0)) - 2.0;
    const double bottom = lineCentre(gainY(-12.0)) + 2.0;
    const QRectF groove(grooveX - 2.5, top, 5.0, bottom - top);
    painter.setPen(QPen(kGrooveEdge, 1.0));
    painter.setBrush(kGroove);
    painter.drawRoundedRect(groove, 2.5, 2.5);

    const double zeroY = snap(gainY(0.0));
    const double knobY = snap(px(drawnKnobTop() + kKnobHeight / 2.0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLevel);
    painter.drawRect(QRectF(grooveX - 1.5, std::min(zeroY, knobY), 3.0, std::abs(knobY - zeroY)));

    paintKnob(painter, knobLeft);
}

void KnobTrack::paintScale(QPainter& painter, double knobLeft, double grooveX) const {
    painter.setFont(scaleFont_);
    const double right = knobLeft + px(kKnobWidth) + 1.0;
    for (int dB = 12; dB >= -12; dB -= 3) {
        const double y = lineCentre(gainY(dB));
        const bool major = dB % 6 == 0;
        painter.setPen(QPen(kTick, 1.0));
        painter.drawLine(QPointF(right, y), QPointF(right + (major ? 5.0 : 3.0), y));
        if (major) {
            painter.drawLine(QPointF(grooveX - 8.0, y), QPointF(grooveX - 4.0, y));
            painter.setPen(kScaleText);
            const QRectF label(0.0, y - 6.0, grooveX - 9.0, 12.0);
            painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, QString::number(dB));
        }
    }
}

void KnobTrack::paintKnob(QPainter& painter, double knobLeft) const {
    const double top = snap(px(drawnKnobTop()));
    const QRectF knob(knobLeft + 0.5, top + 0.5, px(kKnobWidth) - 1.0, px(kKnobHeight) - 1.0);
    QLinearGradient shade(knob.topLeft(), knob.bottomLeft());
    shade.setColorAt(0.0, QColor(252, 252, 252));
    shade.setColorAt(0.5, QColor(226, 230, 233));
    shade.setColorAt(1.0, QColor(192, 199, 204));
    painter.setBrush(shade);
    painter.setPen(QPen(hasFocus() ? kKnobFocusEdge : kKnobEdge, hasFocus() ? 1.5 : 1.0));
    painter.drawRoundedRect(knob, 2.5, 2.5);

    // Grip lines above and below the centre line that marks the gain.
    const double cy = top + px(kKnobHeight) / 2.0;
    painter.setPen(QPen(QColor(150, 158, 164), 1.0));
    for (double dy : {-5.5, -3.5, 3.5, 5.5}) {
        painter.drawLine(QPointF(knob.left() + 3.0, cy + dy), QPointF(knob.right() - 3.0, cy + dy));
    }
    painter.setPen(QPen(kIndicator, 2.0));
    painter.drawLine(QPointF(knob.left() + 1.0, cy), QPointF(knob.right() - 1.0, cy));
}

} // namespace korvanex
