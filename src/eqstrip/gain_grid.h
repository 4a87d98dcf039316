#pragma once
// The gain grid of the strip's knob and gain box: gains are kept to one decimal, and the knob
// and the gain box move an odd tenth down onto the 0.2 dB grid, for cuts and boosts alike.

namespace korvanex {

// True when the gain's tenths, rounded half to even, are odd (3.3 and -3.3 are; 3.25 is not).
bool oddTenth(double dB);

// The gain a knob top (twips, 0 at +12 dB, 1440 at -12 dB) stands for: one decimal with
// halves to even, then an odd tenth moved down. Tops beyond the travel give the end gains.
float knobGain(double top);

} // namespace korvanex
