#include "eqstrip/gain_grid.h"

#include "core/numbers.h"

#include <cmath>

namespace korvanex {

bool oddTenth(double dB) {
    return std::fmod(roundHalfEven(dB * 10.0), 2.0) != 0.0;
}

float knobGain(double top) {
    if (top < 0.0) {
        return 12.0f;
    }
    if (top > 1440.0) {
        return -12.0f;
    }
    // 60 twips per dB, so the tenths are (720 - top) / 6: computed this way a half is exact
    // and rounds to even as it should.
    double tenths = roundHalfEven((720.0 - top) / 6.0);
    if (std::fmod(tenths, 2.0) != 0.0) {
        tenths -= 1.0;
    }
    return static_cast<float>(tenths / 10.0);
}

} // namespace korvanex
