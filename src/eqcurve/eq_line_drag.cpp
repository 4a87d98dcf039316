// Dragging a band's marker: the left button picks the marker up, every move sets the band's
// frequency and gain from the pointer (within the limits of its type) and reports it through
// PEQOUT, and the drag ends on release, or when the graph is disabled, hidden or loses the
// mouse.
#include "core/numbers.h"
#include "eqcurve/eq_line.h"
#include "eqcurve/eq_line_geometry.h"

#include <QEvent>
#include <QMouseEvent>
#include <cmath>

namespace korvanex {

using namespace eqgeometry;

int EQline::markerAt(QPointF widgetPos) const {
    // Markers are clipped to the plot: the part of one that lies outside it (a band below
    // 20 Hz or beyond +-12 dB) is not drawn and cannot be picked up.
    if (!plotRect().contains(widgetPos)) {
        return -1;
    }
    // Later bands lie on top of earlier ones, so the topmost marker is searched first.
    for (int b = bandCount() - 1; b >= 0; --b) {
        if (markerVisible(b) && markerRect(b).contains(widgetPos)) {
            return b;
        }
    }
    return -1;
}

void EQline::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !hasPlotArea() || dragging_) {
        return;
    }
    const int b = markerAt(event->position());
    if (b < 0) {
        return;
    }
    dragBand_ = b;
    readoutBand_ = b;
    setCursor(Qt::SizeAllCursor);
    // Tracking lets a move without a button through, which tells that the release was lost.
    setMouseTracking(true);
    dragging_ = true;
    update();
}

void EQline::mouseMoveEvent(QMouseEvent* event) {
    if (moveBusy_) {
        return;
    }
    moveBusy_ = true;
    if (dragging_) {
        if (event->buttons() == Qt::NoButton) {
            // The release went elsewhere (the grab was taken from us): the drag is over.
            endDrag();
        } else {
            dragTo(event->position());
        }
    }
    moveBusy_ = false;
}

void EQline::mouseReleaseEvent(QMouseEvent* event) {
    (void)event;
    if (dragging_) {
        endDrag();
    }
}

void EQline::hideEvent(QHideEvent* event) {
    endDrag();
    QWidget::hideEvent(event);
}

void EQline::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        endDrag();
    }
    QWidget::changeEvent(event);
}

bool EQline::event(QEvent* event) {
    if (event->type() == QEvent::UngrabMouse || event->type() == QEvent::WindowDeactivate) {
        endDrag();
    }
    return QWidget::event(event);
}

void EQline::endDrag() {
    if (!dragging_) {
        return;
    }
    dragging_ = false;
    setMouseTracking(false);
    unsetCursor();
    update();
}

void EQline::dragTo(QPointF widgetPos) {
    if (!hasPlotArea() || !hasBand(dragBand_) || !(scaleX_ > 0.0f) || !(scaleY_ > 0.0f)) {
        endDrag();
        return;
    }
    // Pointer in twips from the plot's top-left corner.
    const float X = static_cast<float>(widgetPos.x()) * TwipsPerPixel - PlotLeft;
    const float Y = static_cast<float>(widgetPos.y()) * TwipsPerPixel - PlotTop;

    // Frequency: inverse of the plot's log axis, limited per band type, 0.1 Hz steps.
    double F = 20.0 * std::exp(static_cast<double>(X / scaleX_));
    if (!(F >= 20.0)) {
        F = 20.0;
    }
    const int type = bands_[dragBand_].T;
    if (type == 1 && F < 4000.0) {
        F = 4000.0;
    } else if (type == 2 && F > 1000.0) {
        F = 1000.0;
    }
    if (F > 20000.0) {
        F = 20000.0;
    }
    const float fSingle = static_cast<float>(F);
    const float newF = std::floor(10.0f * fSingle) / 10.0f;

    // Gain: tenths of a dB from the top edge (+12 dB), within +-12 dB, on a 0.2 dB grid
    // (odd tenths go down, also below zero).
    double tenthsFromTop = 10.0 * static_cast<double>(Y) / scaleY_;
    tenthsFromTop = std::isnan(tenthsFromTop) ? 0.0 : std::clamp(tenthsFromTop, -1.0e6, 1.0e6);
    long tenths = 120 - static_cast<long>(roundHalfEven(tenthsFromTop));
    tenths = std::clamp(tenths, -120L, 120L);
    if (tenths % 2 != 0) {
        tenths -= 1;
    }
    const float newG = static_cast<float>(tenths) / 10.0f;

    bands_[dragBand_].values.F = newF;
    bands_[dragBand_].values.dB = newG;
    PEQ_draw(dragBand_);
}

} // namespace korvanex
