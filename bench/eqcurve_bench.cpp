// Cost of the response graph's hot paths: one full curve, one drag step, one paint.
#include "eqcurve/eq_line.h"
#include "eqcurve/filter_response.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <array>
#include <benchmark/benchmark.h>

using korvanex::EQline;
namespace response = korvanex::response;

namespace {

// Fifteen bands of every type and both sides with four sections each.
void loadFullGraph(EQline& g) {
    g.resize(1033, 305);
    g.setEQnum(14);
    g.setLTY(8);
    g.setHTY(8);
    g.setLP_F(12000);
    g.setHP_F(40);
    for (int b = 0; b < 15; ++b) {
        g.setVal(b, 30.0f * static_cast<float>(b + 1) * static_cast<float>(b + 1),
                 static_cast<float>(b % 7) - 3.0f, 0.5f + 0.3f * static_cast<float>(b));
        g.setT(b, b % 3);
    }
}

void BM_Curve15Bands8Sections(benchmark::State& state) {
    std::array<response::BandShape, 15> bands{};
    for (int b = 0; b < 15; ++b) {
        bands[b] = {30.0f * static_cast<float>((b + 1) * (b + 1)), 0.5f + 0.3f * b,
                    static_cast<float>(b % 7) - 3.0f, b % 3};
    }
    response::CutoffState cutoff;
    cutoff.CutoffFreq = {12000, 40};
    response::SetCrossoverType(cutoff, 9, 0);
    response::SetCrossoverType(cutoff, 9, 1);
    std::array<float, EQline::CurvePointCount> freqs{};
    for (int i = 0; i < EQline::CurvePointCount; ++i) {
        freqs[i] = response::N24_F(EQline::FirstCurvePoint + i);
    }
    std::array<float, EQline::CurvePointCount> curve{};
    for (auto _ : state) {
        std::array<response::PreparedBand, 15> prepared{};
        for (int b = 0; b < 15; ++b) {
            prepared[b] = response::prepareBand(bands[b]);
        }
        for (int i = 0; i < EQline::CurvePointCount; ++i) {
            curve[i] = response::curveValue(std::span<const response::PreparedBand>(prepared),
                                            cutoff, freqs[i]);
        }
        benchmark::DoNotOptimize(curve.data());
    }
}
BENCHMARK(BM_Curve15Bands8Sections)->Unit(benchmark::kMicrosecond);

void BM_DragMove(benchmark::State& state) {
    EQline g;
    loadFullGraph(g);
    g.show();
    float received = 0;
    QObject::connect(&g, &EQline::PEQOUT, &g,
                     [&](int, float F, float, float, int) { received += F; });
    const QPointF start = g.markerRect(7).center();
    QMouseEvent press(QEvent::MouseButtonPress, start, g.mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&g, &press);
    int step = 0;
    for (auto _ : state) {
        ++step;
        const QPointF pos(300.0 + step % 400, 40.0 + step % 200);
        QMouseEvent move(QEvent::MouseMove, pos, g.mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&g, &move);
    }
    benchmark::DoNotOptimize(received);
    if (!g.isDragging()) {
        state.SkipWithError("the drag did not start");
    }
}
BENCHMARK(BM_DragMove)->Unit(benchmark::kMicrosecond);

void BM_PaintFullSizeGraph(benchmark::State& state) {
    EQline g;
    loadFullGraph(g);
    QImage target(g.size(), QImage::Format_ARGB32_Premultiplied);
    g.render(&target); // builds the grid picture once
    for (auto _ : state) {
        g.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PaintFullSizeGraph)->Unit(benchmark::kMicrosecond);

} // namespace
