// The response arithmetic checked against transfer functions evaluated independently with
// complex numbers in double precision.
#include "eqcurve/filter_response.h"

#include <array>
#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace r = korvanex::response;
using cd = std::complex<double>;

namespace {

constexpr double Tol = 0.001;

double db(cd h) {
    return 20.0 * std::log10(std::abs(h));
}
double amp(double g) {
    return std::pow(10.0, g / 40.0);
}

double refLP(double f, double f0, double q) {
    const cd s(0, f / f0);
    return db(1.0 / (s * s + s / q + 1.0));
}
double refHP(double f, double f0, double q) {
    return refLP(f0, f, q);
}
double refPeaking(double f, double f0, double q, double g) {
    const double a = amp(g);
    const cd s(0, f / f0);
    return db((s * s + s * a / q + 1.0) / (s * s + s / (a * q) + 1.0));
}
double refLowShelf(double f, double f0, double q, double g) {
    const double a = amp(g);
    const cd s(0, f / f0);
    return db(a * (s * s + std::sqrt(a) / q * s + a) / (a * s * s + std::sqrt(a) / q * s + 1.0));
}
double refHighShelf(double f, double f0, double q, double g) {
    return refLowShelf(f0, f, q, g);
}

// The same transfer functions with the program's single-precision rounding points: the
// frequency ratio, each denominator, the shelves' real and imaginary parts, the peaking band's
// squared real part, and the magnitude before its (single-precision) logarithm.
enum class Shape { LowPass, HighPass, Peak, LowShelf, HighShelf };

double single(double x) {
    return static_cast<float>(x);
}

double roundedRef(Shape shape, float f, float f0, float q, float a) {
    const bool inverse = shape == Shape::HighPass || shape == Shape::HighShelf;
    const cd s(0, single(inverse ? double(f0) / f : double(f) / f0));
    const double qd = q, ad = a;
    double m = 0;
    if (shape == Shape::LowPass || shape == Shape::HighPass) {
        const cd den = s * s + s / qd + 1.0;
        m = std::abs(std::conj(den) / single(std::norm(den)));
    } else if (shape == Shape::Peak) {
        const cd den = s * s + s / (qd * ad) + 1.0;
        const cd h = (s * s + s * ad / qd + 1.0) * std::conj(den) / single(std::norm(den));
        m = std::sqrt(single(h.real() * h.real()) + h.imag() * h.imag());
    } else {
        const double sa = std::sqrt(ad);
        const cd den = ad * s * s + s * sa / qd + 1.0;
        const cd h = (s * s + s * sa / qd + ad) * std::conj(den) / single(std::norm(den));
        m = ad * std::hypot(single(h.real()), single(h.imag()));
    }
    return 20.0 * static_cast<double>(std::log(static_cast<float>(m))) / std::log(10.0);
}

float evaluate(Shape shape, float f, float f0, float q, float a) {
    switch (shape) {
    case Shape::LowPass:
        return r::General_2nd_Order_LP(f, f0, q);
    case Shape::HighPass:
        return r::General_2nd_Order_HP(f, f0, q);
    case Shape::Peak:
        return r::Peaking(f, f0, q, a);
    case Shape::LowShelf:
        return r::LowShelf(f, f0, q, a);
    case Shape::HighShelf:
        break;
    }
    return r::HighShelf(f, f0, q, a);
}

struct Point {
    double f, f0, q, g;
};
const std::vector<Point> points = {
    {1000, 1000, 2, 6},     {500, 1000, 2, 6},   {2000, 1000, 0.7, -9}, {31.5, 200, 1, 12},
    {19000, 6300, 15, -12}, {200, 200, 0.1, 3},  {99.9, 100, 8, 11.8},  {20, 20000, 4.4, -0.2},
    {22627, 60, 1, 5},      {440, 1234.5, 3, 0},
};

} // namespace

// Catches a wrong point spacing or octave handling of the curve frequencies.
TEST(FilterResponse, CurvePointFrequencies) {
    EXPECT_NEAR(r::N24_F(0), 15.625, 1e-4);
    EXPECT_NEAR(r::N24_F(8), 19.686, 1e-3);
    EXPECT_NEAR(r::N24_F(9), 20.263, 1e-3);
    EXPECT_NEAR(r::N24_F(252), 22627.4, 0.05);
    for (int k = 0; k < 230; k += 7) {
        EXPECT_NEAR(r::N24_F(k + 24), 2.0 * r::N24_F(k), 2e-3 * r::N24_F(k)) << k;
        EXPECT_NEAR(r::N24_F(k), 15.625 * std::pow(2.0, k / 24.0), 1e-5 * r::N24_F(k)) << k;
    }
    // Negative indices stay below 15.625 Hz instead of misbehaving.
    EXPECT_NEAR(r::N24_F(-1), 15.625 * std::pow(2.0, -1.0 / 24.0), 1e-4);
}

// Catches a swapped ratio, a misplaced A or Q, or a sign error in any of the five shapes.
TEST(FilterResponse, ShapesMatchTransferFunctions) {
    for (const Point& p : points) {
        const float f = static_cast<float>(p.f), f0 = static_cast<float>(p.f0);
        const float q = static_cast<float>(p.q);
        const float a = r::bandAmplitude(static_cast<float>(p.g));
        SCOPED_TRACE(testing::Message() << p.f << " " << p.f0 << " " << p.q << " " << p.g);
        EXPECT_NEAR(r::General_2nd_Order_LP(f, f0, q), refLP(p.f, p.f0, p.q), Tol);
        EXPECT_NEAR(r::General_2nd_Order_HP(f, f0, q), refHP(p.f, p.f0, p.q), Tol);
        EXPECT_NEAR(r::Peaking(f, f0, q, a), refPeaking(p.f, p.f0, p.q, p.g), Tol);
        EXPECT_NEAR(r::LowShelf(f, f0, q, a), refLowShelf(p.f, p.f0, p.q, p.g), Tol);
        EXPECT_NEAR(r::HighShelf(f, f0, q, a), refHighShelf(p.f, p.f0, p.q, p.g), Tol);
    }
}

// Catches the response carried wholly in double precision, or one rounding point left out:
// within 1 dB of 0 a step of the single-precision magnitude is 5e-7 dB or more, far above the
// 1e-7 dB allowed here, and each rounding point moves hundreds of these points by a step.
TEST(FilterResponse, SinglePrecisionRoundingPoints) {
    int compared = 0;
    for (Shape shape :
         {Shape::LowPass, Shape::HighPass, Shape::Peak, Shape::LowShelf, Shape::HighShelf}) {
        for (float f0 : {31.5f, 97.0f, 440.0f, 1234.0f, 6300.0f, 15000.0f}) {
            for (float q : {0.3f, 1.4f, 4.4f, 15.0f}) {
                for (float g : {-11.8f, -3.3f, 0.7f, 9.1f}) {
                    const float a = r::bandAmplitude(g);
                    for (int k = 8; k <= 252; ++k) {
                        const float f = r::N24_F(k);
                        const float got = evaluate(shape, f, f0, q, a);
                        if (std::fabs(got) > 1.0f) {
                            continue;
                        }
                        ++compared;
                        ASSERT_NEAR(got, roundedRef(shape, f, f0, q, a), 1e-7)
                            << "shape " << int(shape) << " f " << f << " f0 " << f0 << " Q " << q
                            << " G " << g;
                    }
                }
            }
        }
    }
    EXPECT_GT(compared, 20000);
}

// Catches shapes whose gain lands at the wrong place: peak at f0, shelves half-way at f0.
TEST(FilterResponse, ShapeLandmarks) {
    const float a6 = r::bandAmplitude(6);
    for (float q : {0.1f, 1.0f, 2.0f, 15.0f}) {
        EXPECT_NEAR(r::Peaking(1000, 1000, q, a6), 6.0, Tol);
    }
    for (float f : {20.0f, 1000.0f, 20000.0f}) {
        EXPECT_NEAR(r::Peaking(f, 1000, 2, r::bandAmplitude(0)), 0.0, Tol);
    }
    EXPECT_NEAR(r::LowShelf(1000, 1000, 1, a6), 3.0, Tol);
    EXPECT_NEAR(r::LowShelf(10, 1000, 1, a6), 6.0, 0.01);
    EXPECT_NEAR(r::LowShelf(100000, 1000, 1, a6), 0.0, 0.01);
    EXPECT_NEAR(r::HighShelf(1000, 1000, 1, a6), 3.0, Tol);
    EXPECT_NEAR(r::HighShelf(10, 1000, 1, a6), 0.0, 0.01);
    EXPECT_NEAR(r::HighShelf(100000, 1000, 1, a6), 6.0, 0.01);
}

// Catches a wrong section Q in the table (2.563 for 2.536, a missing section, rows 1 and 4
// swapped: 0.0024 dB apart) or a side mix-up. At the cut-off a section's gain is its Q.
TEST(FilterResponse, CascadeAtCutoffPerType) {
    const std::array<double, 9> expected = {-3.0116, -4.7765, -6.0206,  -3.0140, -9.5530,
                                            -6.0232, -3.1033, -19.1059, -6.0280};
    for (int type = 1; type <= 9; ++type) {
        r::CutoffState lp;
        lp.CutoffFreq = {1000, 50};
        EXPECT_TRUE(r::SetCrossoverType(lp, type, 0));
        EXPECT_NEAR(r::Filter(lp, 1000), expected[type - 1], 0.001) << "low-pass type " << type;
        r::CutoffState hp;
        hp.CutoffFreq = {10000, 1000};
        EXPECT_TRUE(r::SetCrossoverType(hp, type, 1));
        EXPECT_NEAR(r::Filter(hp, 1000), expected[type - 1], 0.001) << "high-pass type " << type;
    }
    r::CutoffState seven;
    r::SetCrossoverType(seven, 7, 0);
    EXPECT_FLOAT_EQ(seven.HLQ[0][0], 2.536f);
    EXPECT_FLOAT_EQ(seven.HLQ[0][3], 0.51f);
}

// Catches a cascade that adds the wrong shape per side or counts absent sections.
TEST(FilterResponse, CascadeSumsBothSides) {
    r::CutoffState s;
    EXPECT_EQ(r::Filter(s, 20), 0.0f);
    EXPECT_EQ(r::Filter(s, 20000), 0.0f);
    s.CutoffFreq = {4000, 20};
    r::SetCrossoverType(s, 4, 0);
    r::SetCrossoverType(s, 1, 1);
    for (double f : {25.0, 300.0, 3000.0, 9000.0}) {
        const double want = refLP(f, 4000, 1.306) + refLP(f, 4000, 0.5412) + refHP(f, 20, 0.707);
        EXPECT_NEAR(r::Filter(s, static_cast<float>(f)), want, Tol) << f;
    }
}

// Catches type 0 not clearing a side, or out-of-table types overwriting it.
TEST(FilterResponse, CrossoverTypeLoading) {
    r::CutoffState s;
    r::SetCrossoverType(s, 9, 1);
    EXPECT_FALSE(r::SetCrossoverType(s, 0, 1));
    EXPECT_EQ(s.HLQ[1], (std::array<float, 4>{0, 0, 0, 0}));
    r::SetCrossoverType(s, 5, 0);
    EXPECT_TRUE(r::SetCrossoverType(s, 10, 0));
    EXPECT_TRUE(r::SetCrossoverType(s, -4, 0));
    EXPECT_EQ(s.HLQ[0], (std::array<float, 4>{0.577f, 0.577f, 0, 0}));
}

// Catches a NaN or infinity from an undefined band reaching the curve (and the painter), and a
// band without a defined response (frequency or Q not above 0, or not finite; gain not finite)
// adding anything at all, whatever its type.
TEST(FilterResponse, UndefinedBandsAddNothing) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<r::BandShape> undefined = {
        {1000, 0, 6, 0},   {0, 1, 6, 0},       {-50, 1, 6, 2},    {-50, 1, 6, 0}, {1000, -2, 6, 1},
        {nan, 1, 3, 0},    {1000, nan, 3, 1},  {1000, 1, nan, 0}, {inf, 1, 3, 0}, {inf, 1, 3, 2},
        {1000, inf, 3, 1}, {1000, -inf, 3, 2}, {1000, 1, inf, 2}, {0, 0, 0, 0},
    };
    // Defined, if absurd: only finite.
    const std::vector<r::BandShape> absurd = {
        {1000, 1, 1e30f, 0}, {1000, 1, -1e30f, 1}, {1000, 1, 1500, 0}, {1e-30f, 1e-30f, 12, 0}};
    r::CutoffState s;
    r::SetCrossoverType(s, 8, 0);
    r::SetCrossoverType(s, 9, 1);
    const std::vector<r::BandShape> good = {{1000, 2, 6, 0}};
    for (const auto* list : {&undefined, &absurd}) {
        for (const r::BandShape& b : *list) {
            const std::vector<r::BandShape> bands = {good[0], b};
            for (int k = 8; k <= 252; ++k) {
                const float f = r::N24_F(k);
                const float v = r::curveValue(bands, s, f);
                ASSERT_TRUE(std::isfinite(v)) << b.F << " " << b.Q << " " << b.G << " k " << k;
                ASSERT_TRUE(std::isfinite(r::bandResponse(b, f)));
                if (list == &undefined) {
                    ASSERT_EQ(v, r::curveValue(good, s, f)) << b.F << " " << b.Q << " " << b.G;
                }
            }
        }
    }
}

// Catches bypass being ignored, unknown types not falling back to peaking, or the bands not
// being summed.
TEST(FilterResponse, SumBypassAndTypes) {
    r::CutoffState none;
    std::vector<r::BandShape> bands = {{1000, 2, 6, 0}, {1000, 2, 6, 0, true}};
    EXPECT_NEAR(r::curveValue(bands, none, 1000), 6.0, Tol);
    bands[1].bypassed = false;
    EXPECT_NEAR(r::curveValue(bands, none, 1000), 12.0, Tol);
    for (int t : {3, 7, -1}) {
        const r::BandShape b{500, 1.5f, -4, t};
        EXPECT_NEAR(r::bandResponse(b, 700), refPeaking(700, 500, 1.5, -4), Tol) << t;
    }
    EXPECT_NEAR(r::bandResponse(r::BandShape{500, 1.5f, -4, 1}, 700),
                refHighShelf(700, 500, 1.5, -4), Tol);
    EXPECT_NEAR(r::bandResponse(r::BandShape{500, 1.5f, -4, 2}, 700),
                refLowShelf(700, 500, 1.5, -4), Tol);
    // Every band bypassed: the cascade alone.
    r::CutoffState lp;
    r::SetCrossoverType(lp, 1, 0);
    for (auto& b : bands) {
        b.bypassed = true;
    }
    EXPECT_NEAR(r::curveValue(bands, lp, 10000), -3.01, 0.01);
}
