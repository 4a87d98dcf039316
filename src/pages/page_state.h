#pragma once
// The window's state fields beside its controls. All 0 at start; `MuteOn` and `KeyLockOn`
// hold 0 or -1 (the byte sent is 0 or 255); any other non-zero value counts as on.

#include <cstdint>

namespace korvanex {

struct PageState {
    std::int16_t ExciterOn = 0;        // 0 off, 255 on
    std::int16_t CenterEffectOn = 0;   // 0 off, 71 on
    std::int16_t EffectProgram = 0;    // 0..7: KTV1..KTV4, EFF1..EFF4; the unit may send any byte
    std::int16_t EqModeParametric = 0; // non-zero parametric, 0 graphic
    std::int16_t SubPhase = 0;         // 0 for 0 degrees, 255 for 180 degrees
    std::int16_t MuteOn = 0;           // 0 off, -1 on
    std::int16_t KeyLockOn = 0;        // 0 off, -1 on
};

} // namespace korvanex
