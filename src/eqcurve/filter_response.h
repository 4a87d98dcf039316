#pragma once
// Magnitude responses of the analog prototypes the graph plots: second-order low- and
// high-pass sections, peaking band, low and high shelves, the cut-off cascade and the summed
// curve. Results are single precision; the frequency ratio, the denominators and the magnitude
// are rounded to single precision where the program has always done so, so that the curve
// matches the unit's editor point for point. Nothing here is sent to the unit.

#include <array>
#include <span>

namespace korvanex::response {

constexpr int OctaveSteps = 24;

// Frequency of curve point idx: 15.625 Hz * 2^(idx/24).
float N24_F(int idx);

float General_2nd_Order_LP(float f, float f0, float Q);
float General_2nd_Order_HP(float f, float f0, float Q);
float Peaking(float f, float f0, float Q, float A);
float LowShelf(float f, float f0, float Q, float A);
float HighShelf(float f, float f0, float Q, float A);

// A = 10^(G/40): the band amplitude whose square on a linear scale is G dB.
float bandAmplitude(float gainDb);

// Section Q values of the cut-off sides: side 0 low-pass, 1 high-pass; 0 means no section.
struct CutoffState {
    std::array<float, 2> CutoffFreq{10000.0f, 50.0f};
    std::array<std::array<float, 4>, 2> HLQ{};
    std::array<int, 2> FiltType{1, 1};
};

// Loads the section Q row of table type 1..9 into one side; type 0 clears the side; any
// other type leaves it. Returns whether the side's cut-off marker is shown afterwards.
bool SetCrossoverType(CutoffState& state, int type, int side);

// dB of the whole low-pass and high-pass cascade at f.
float Filter(const CutoffState& state, float f);

struct BandShape {
    float F = 1000.0f;
    float Q = 1.0f;
    float G = 0.0f;
    int T = 0; // 1 high shelf, 2 low shelf, anything else peaking
    bool bypassed = false;
};

// One band's contribution at f. A band whose values have no defined response (F, Q or G not
// finite, F or Q not above 0) or whose result is not finite adds 0 dB.
float bandResponse(const BandShape& band, float f);

// A band ready for many curve points: its amplitude worked out once; inactive when bypassed
// or without a defined response.
struct PreparedBand {
    float F = 1000.0f;
    float Q = 1.0f;
    float A = 1.0f;
    int T = 0;
    bool active = false;
};
PreparedBand prepareBand(const BandShape& band);
float bandResponse(const PreparedBand& band, float f);

// One curve point: bands in order, then the cascade; always finite.
float curveValue(std::span<const PreparedBand> bands, const CutoffState& state, float f);
float curveValue(std::span<const BandShape> bands, const CutoffState& state, float f);

} // namespace korvanex::response
