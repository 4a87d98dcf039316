// The band strip's per-input work: one knob drag step, one Up/Down key, one wheel notch.
// Each must stay well under a millisecond so that dragging and scrolling keep up with the
// pointer while the host redraws its graph.
#include "eqstrip/lk_slide.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <benchmark/benchmark.h>

using korvanex::LkSlide;

namespace {

void moveKnob(QWidget* track, QPointF pos, Qt::MouseButtons buttons) {
    QMouseEvent event(QEvent::MouseMove, pos, track->mapToGlobal(pos), Qt::NoButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(track, &event);
}

void BM_KnobDragStep(benchmark::State& state) {
    LkSlide strip;
    strip.setVal(1000.0f, 0.0f, 1.0f);
    QWidget* track = strip.knobTrack();
    const QPointF grab(26.0, 58.0); // on the knob's centre line at 0 dB
    QMouseEvent press(QEvent::MouseButtonPress, grab, track->mapToGlobal(grab), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(track, &press);
    int i = 0;
    for (auto _ : state) {
        moveKnob(track, grab + QPointF(0.0, (i++ % 40) - 20.0), Qt::LeftButton);
    }
    benchmark::DoNotOptimize(strip.db());
}
BENCHMARK(BM_KnobDragStep);

void BM_KeyStep(benchmark::State& state) {
    LkSlide strip;
    strip.setVal(1000.0f, 0.0f, 1.0f);
    QWidget* track = strip.knobTrack();
    int i = 0;
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, (i++ % 2) ? Qt::Key_Up : Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(track, &key);
    }
    benchmark::DoNotOptimize(strip.db());
}
BENCHMARK(BM_KeyStep);

void BM_WheelNotch(benchmark::State& state) {
    LkSlide strip;
    strip.setVal(1000.0f, 0.0f, 1.0f);
    const QPointF pos(30.0, 100.0);
    int i = 0;
    for (auto _ : state) {
        QWheelEvent wheel(pos, strip.mapToGlobal(pos), QPoint(), QPoint(0, (i++ % 2) ? 120 : -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&strip, &wheel);
    }
    benchmark::DoNotOptimize(strip.db());
}
BENCHMARK(BM_WheelNotch);

} // namespace
