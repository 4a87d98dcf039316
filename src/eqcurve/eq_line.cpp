// Band model, properties and redraws of the response graph. Painting lives in
// eq_line_paint.cpp, mouse dragging in eq_line_drag.cpp.
#include "eqcurve/eq_line.h"

#include "core/busy_scope.h"
#include "eqcurve/eq_line_geometry.h"

#include <QEvent>
#include <limits>

namespace korvanex {

namespace {

// Frequencies of the plotted curve points, 24 per octave from 19.686 Hz to 22627 Hz.
const std::array<float, EQline::CurvePointCount>& curveFrequencies() {
    static const auto table = [] {
        std::array<float, EQline::CurvePointCount> f{};
        for (int k = EQline::FirstCurvePoint; k <= EQline::LastCurvePoint; ++k) {
            f[k - EQline::FirstCurvePoint] = response::N24_F(k);
        }
        return f;
    }();
    return table;
}

// Table type of an LTY/HTY value (the type minus one). The largest value cannot take its
// plus one; it stays outside the table all the same.
int tableType(int value) {
    return value < std::numeric_limits<int>::max() ? value + 1 : value;
}

} // namespace

EQline::EQline(QWidget* parent) : QWidget(parent) {
    markerShown_[0] = true;
    setAttribute(Qt::WA_OpaquePaintEvent);
    updateScales();
}

// ---- response arithmetic -------------------------------------------------------------

float EQline::General_2nd_Order_LP(float f, float f0, float Q) {
    return response::General_2nd_Order_LP(f, f0, Q);
}
float EQline::General_2nd_Order_HP(float f, float f0, float Q) {
    return response::General_2nd_Order_HP(f, f0, Q);
}
float EQline::Peaking(float f, float f0, float Q, float A) {
    return response::Peaking(f, f0, Q, A);
}
float EQline::LowShelf(float f, float f0, float Q, float A) {
    return response::LowShelf(f, f0, Q, A);
}
float EQline::HighShelf(float f, float f0, float Q, float A) {
    return response::HighShelf(f, f0, Q, A);
}

std::size_t EQline::fillShapes(std::array<response::BandShape, MaxBands>& shapes) const {
    const std::size_t count = bands_.size();
    for (std::size_t b = 0; b < count; ++b) {
        const BandState& s = bands_[b];
        shapes[b] = {s.values.F, s.values.Q, s.values.dB, s.T, bypass_[b] != 0};
    }
    return count;
}

float EQline::curveValue(float f) const {
    std::array<response::BandShape, MaxBands> shapes{};
    const std::size_t count = fillShapes(shapes);
    return response::curveValue(std::span(shapes.data(), count), cutoff_, f);
}

void EQline::computeCurve() {
    std::array<response::BandShape, MaxBands> shapes{};
    const std::size_t count = fillShapes(shapes);
    std::array<response::PreparedBand, MaxBands> prepared{};
    for (std::size_t b = 0; b < count; ++b) {
        prepared[b] = response::prepareBand(shapes[b]);
    }
    const auto& freqs = curveFrequencies();
    for (int i = 0; i < CurvePointCount; ++i) {
        curve_[i] = response::curveValue(std::span(prepared.data(), count), cutoff_, freqs[i]);
    }
    curveComputed_ = true;
}

// ---- redraws ---------------------------------------------------------------------------

void EQline::redraw(int Index, bool report) {
    if (drawBusy_) {
        // A receiver of PEQOUT changed the graph: no second report, but the stored value is
        // drawn once the running redraw ends.
        redrawSkipped_ = true;
        return;
    }
    BusyScope busy(drawBusy_);
    computeCurve();
    update();
    if (report && hasBand(Index)) {
        readoutBand_ = Index;
        const BandState& s = bands_[Index];
        emit PEQOUT(Index, s.values.F, s.values.Q, s.values.dB, s.T);
    }
    if (redrawSkipped_) {
        redrawSkipped_ = false;
        computeCurve();
    }
}

void EQline::PEQ_draw(int Index) {
    redraw(Index, true);
}

void EQline::Filter_draw(int which) {
    (void)which;
    redraw(-1, false);
}

// ---- properties ------------------------------------------------------------------------

void EQline::setEQnum(int value) {
    if (value < 0 || value >= MaxBands) {
        return;
    }
    eqNum_ = value;
    KONGZHIDIAN(value);
}

void EQline::applyCrossoverType(int type, int side) {
    cutoffMarkerShown_[side] = response::SetCrossoverType(cutoff_, type, side);
    update();
}

void EQline::setSideEnabled(int side, bool on) {
    applyCrossoverType(on ? cutoff_.FiltType[side] : 0, side);
    Filter_draw(side);
}

void EQline::setHPEnabel(bool on) {
    hpEnabel_ = on;
    setSideEnabled(1, on);
}

void EQline::setLPEnabel(bool on) {
    lpEnabel_ = on;
    setSideEnabled(0, on);
}

void EQline::setEQ7visible(bool on) {
    eq7Visible_ = on;
    markerShown_[7] = on;
    update();
}

void EQline::setGraphEnabled(bool on) {
    graphEnabled_ = on;
    QWidget::setEnabled(on);
}

void EQline::setSideType(int side, int value) {
    const int type = tableType(value);
    applyCrossoverType(type, side);
    cutoff_.FiltType[side] = type;
    PEQ_draw(0);
}

void EQline::setLTY(int value) {
    lty_ = value;
    setSideType(0, value);
}

void EQline::setHTY(int value) {
    hty_ = value;
    setSideType(1, value);
}

void EQline::setLP_F(float value) {
    lpF_ = value;
    if (value >= 20.0f && value <= 20000.0f) {
        cutoff_.CutoffFreq[0] = value;
    }
    Filter_draw(0);
}

void EQline::setHP_F(float value) {
    hpF_ = value;
    if (value >= 20.0f && value <= 20000.0f) {
        cutoff_.CutoffFreq[1] = value;
    }
    Filter_draw(1);
}

void EQline::setEQ_BYPASS(bool on) {
    eqBypass_ = on;
    // What the graph's words say, for screen readers.
    setAccessibleDescription(on ? QStringLiteral("EQ BYPASS") : QString());
    update();
    for (int b = 0; b < bandCount(); ++b) {
        bypass_[b] = on ? -1 : 0;
        PEQ_draw(b);
    }
}

// ---- band operations -------------------------------------------------------------------

bool EQline::hasBand(int Index) const {
    return Index >= 0 && Index < bandCount();
}

void EQline::setDB(int Index, float db) {
    if (!hasBand(Index)) {
        return;
    }
    bands_[Index].values.dB = db;
    PEQ_draw(Index);
}

void EQline::setQ(int Index, float Q) {
    // Compared as the program always has, single against double bounds: 0.1f passes.
    if (!hasBand(Index) || !(static_cast<double>(Q) >= 0.1 && static_cast<double>(Q) <= 15.0)) {
        return;
    }
    bands_[Index].values.Q = Q;
    PEQ_draw(Index);
}

void EQline::setF(int Index, float F) {
    if (!hasBand(Index)) {
        return;
    }
    bands_[Index].values.F = F;
    PEQ_draw(Index);
}

void EQline::setVal(int Index, float F, float gain, float Q) {
    if (!hasBand(Index)) {
        return;
    }
    bands_[Index].values = Band{F, Q, gain};
    PEQ_draw(Index);
}

void EQline::setT(int Index, int T) {
    if (!hasBand(Index)) {
        return;
    }
    if (T >= 0 && T <= 2) {
        bands_[Index].T = T;
    }
    PEQ_draw(Index);
}

void EQline::KONGZHIDIAN(int n) {
    if (n < 0 || n >= MaxBands) {
        return;
    }
    if (dragging_ && dragBand_ > n) {
        endDrag();
    }
    bands_.assign(static_cast<std::size_t>(n) + 1, BandState{Band{0.0f, 0.0f, 0.0f}, 0});
    // Both cut-off markers come back; the section Q values stay as they were, so the
    // sections appear only when a side is switched on or given a type.
    cutoff_.CutoffFreq = {10000.0f, 50.0f};
    cutoff_.FiltType = {1, 1};
    cutoffMarkerShown_ = {true, true};
    for (int b = 0; b <= n; ++b) {
        bands_[b] = BandState{Band{200.0f * static_cast<float>(b + 1), 2.0f, 0.0f}, 0};
    }
    updateScales();
    for (int b = 0; b < MaxBands; ++b) {
        markerShown_[b] = b <= n;
    }
    for (int b = 1; b <= n; ++b) {
        PEQ_draw(b);
    }
    PEQ_draw(0);
}

// ---- read access -----------------------------------------------------------------------

Band EQline::band(int Index) const {
    return hasBand(Index) ? bands_[Index].values : Band{};
}

int EQline::bandType(int Index) const {
    return hasBand(Index) ? bands_[Index].T : -1;
}

bool EQline::bandBypassed(int Index) const {
    return Index >= 0 && Index < MaxBands && bypass_[Index] != 0;
}

float EQline::cutoffFreq(int side) const {
    return side == 0 || side == 1 ? cutoff_.CutoffFreq[side] : 0.0f;
}

float EQline::sectionQ(int side, int section) const {
    if ((side != 0 && side != 1) || section < 0 || section > 3) {
        return 0.0f;
    }
    return cutoff_.HLQ[side][section];
}

bool EQline::cutoffMarkerVisible(int side) const {
    return (side == 0 || side == 1) && cutoffMarkerShown_[side];
}

int EQline::filterType(int side) const {
    return side == 0 || side == 1 ? cutoff_.FiltType[side] : 0;
}

} // namespace korvanex
