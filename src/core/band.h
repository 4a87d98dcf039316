#pragma once
// One equaliser band as the strips, graphs, requests and files pass it around. Three call
// orders exist in the program (graph setVal(Index, F, gain, Q), PEQOUT(Index, F, Q, db, Tp),
// strip setVal(F, D, Q)); naming the fields keeps them from being swapped.

namespace korvanex {

struct Band {
    float F = 1000.0f; // centre or corner frequency, Hz
    float Q = 1.0f;    // quality factor
    float dB = 0.0f;   // gain
};

} // namespace korvanex
