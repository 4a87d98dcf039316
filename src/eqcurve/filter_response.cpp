#include "eqcurve/filter_response.h"

#include <cmath>

namespace korvanex::response {

namespace {

// dB of a magnitude, rounded to single precision before the logarithm. The single-precision
// logarithm keeps a 15-band curve well inside a drag step's budget; its error stays below
// a millionth of a dB.
float magnitudeDb(double magnitude) {
    constexpr double Ln10 = 2.302585092994045684;
    const float m = static_cast<float>(magnitude);
    return static_cast<float>(20.0 * static_cast<double>(std::log(m)) / Ln10);
}

float single(double x) {
    return static_cast<float>(x);
}

// Common body of the two second-order sections, r being f/f0 (low-pass) or f0/f (high-pass).
float secondOrder(double ratio, float Q) {
    const double r = single(ratio);
    const double oneMinusR2 = 1.0 - r * r;
    const double rq = r / Q;
    const double D = single(oneMinusR2 * oneMinusR2 + rq * rq);
    const double re = oneMinusR2 / D;
    const double im = rq / D;
    return magnitudeDb(std::sqrt(re * re + im * im));
}

// Common body of the two shelves, r being f/f0 (low shelf) or f0/f (high shelf).
float shelf(double ratio, float Q, float A) {
    const double r = single(ratio);
    const double a = A;
    const double r2 = r * r;
    const double rq = r / Q;
    const double D = single((1.0 - a * r2) * (1.0 - a * r2) + a * rq * rq);
    const double re = single(((a - r2) * (1.0 - a * r2) + a * rq * rq) / D);
    const double im = single(std::sqrt(a) * (1.0 - a * r2 - a + r2) * rq / D);
    return magnitudeDb(std::sqrt((a * re) * (a * re) + (a * im) * (a * im)));
}

// Section Q rows of the cut-off table, types 1 to 9; 0 is an absent section.
constexpr std::array<std::array<float, 4>, 9> SectionTable{{
    {0.707f, 0.0f, 0.0f, 0.0f},
    {0.577f, 0.0f, 0.0f, 0.0f},
    {0.5f, 0.0f, 0.0f, 0.0f},
    {1.306f, 0.5412f, 0.0f, 0.0f},
    {0.577f, 0.577f, 0.0f, 0.0f},
    {0.707f, 0.707f, 0.0f, 0.0f},
    {2.536f, 0.9f, 0.601f, 0.51f},
    {0.577f, 0.577f, 0.577f, 0.577f},
    {0.5412f, 1.306f, 0.5412f, 1.306f},
}};

} // namespace

float N24_F(int idx) {
    const int oct = static_cast<int>(std::floor(static_cast<double>(idx) / OctaveSteps));
    const double multiplier = oct >= 1 ? std::round(std::pow(2.0, oct)) : 1.0;
    const int rest = idx % OctaveSteps;
    return single(15.625 * multiplier * std::pow(2.0, static_cast<double>(rest) / OctaveSteps));
}

float General_2nd_Order_LP(float f, float f0, float Q) {
    return secondOrder(static_cast<double>(f) / f0, Q);
}

float General_2nd_Order_HP(float f, float f0, float Q) {
    return secondOrder(static_cast<double>(f0) / f, Q);
}

float Peaking(float f, float f0, float Q, float A) {
    const double r = single(static_cast<double>(f) / f0);
    const double a = A;
    const double q = Q;
    const double oneMinusR2 = 1.0 - r * r;
    const double rqa = r / (q * a);
    const double rq = r / q;
    const double D = single(oneMinusR2 * oneMinusR2 + rqa * rqa);
    const double re = (oneMinusR2 * oneMinusR2 + rq * rq) / D;
    const double im = (oneMinusR2 * r * a / q - oneMinusR2 * r / (q * a)) / D;
    const double re2 = single(re * re);
    return magnitudeDb(std::sqrt(re2 + im * im));
}

float LowShelf(float f, float f0, float Q, float A) {
    return shelf(static_cast<double>(f) / f0, Q, A);
}

float HighShelf(float f, float f0, float Q, float A) {
    return shelf(static_cast<double>(f0) / f, Q, A);
}

float bandAmplitude(float gainDb) {
    return single(std::pow(10.0, gainDb / 40.0));
}

bool SetCrossoverType(CutoffState& state, int type, int side) {
    auto& row = state.HLQ.at(side);
    if (type == 0) {
        row.fill(0.0f);
        return false;
    }
    if (type >= 1 && type <= 9) {
        row = SectionTable.at(type - 1);
    }
    return true;
}

float Filter(const CutoffState& state, float f) {
    float sum = 0.0f;
    for (int i = 0; i < 4; ++i) {
        if (state.HLQ[0][i] != 0.0f) {
            sum += General_2nd_Order_LP(f, state.CutoffFreq[0], state.HLQ[0][i]);
        }
        if (state.HLQ[1][i] != 0.0f) {
            sum += General_2nd_Order_HP(f, state.CutoffFreq[1], state.HLQ[1][i]);
        }
    }
    return sum;
}

PreparedBand prepareBand(const BandShape& band) {
    PreparedBand p{band.F, band.Q, 1.0f, band.T, false};
    if (band.bypassed || !std::isfinite(band.F) || !std::isfinite(band.Q) ||
        !std::isfinite(band.G) || !(band.F > 0.0f) || !(band.Q > 0.0f)) {
        return p;
    }
    p.A = bandAmplitude(band.G);
    p.active = std::isfinite(p.A) && p.A > 0.0f;
    return p;
}

float bandResponse(const PreparedBand& band, float f) {
    if (!band.active) {
        return 0.0f;
    }
    float value = 0.0f;
    if (band.T == 1) {
        value = HighShelf(f, band.F, band.Q, band.A);
    } else if (band.T == 2) {
        value = LowShelf(f, band.F, band.Q, band.A);
    } else {
        value = Peaking(f, band.F, band.Q, band.A);
    }
    return std::isfinite(value) ? value : 0.0f;
}

float bandResponse(const BandShape& band, float f) {
    BandShape counted = band;
    counted.bypassed = false;
    return bandResponse(prepareBand(counted), f);
}

float curveValue(std::span<const PreparedBand> bands, const CutoffState& state, float f) {
    float total = 0.0f;
    for (const PreparedBand& band : bands) {
        total += bandResponse(band, f);
    }
    const float cascade = Filter(state, f);
    if (std::isfinite(cascade)) {
        total += cascade;
    }
    return std::isfinite(total) ? total : 0.0f;
}

float curveValue(std::span<const BandShape> bands, const CutoffState& state, float f) {
    float total = 0.0f;
    for (const BandShape& band : bands) {
        total += bandResponse(prepareBand(band), f);
    }
    const float cascade = Filter(state, f);
    if (std::isfinite(cascade)) {
        total += cascade;
    }
    return std::isfinite(total) ? total : 0.0f;
}

} // namespace korvanex::response
