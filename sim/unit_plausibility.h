#pragma once
// Which values the unit takes although no control of the editor can produce them: the
// simulated unit stores them as the real one does, and keeps a record so that a test can tell
// a frame that was well formed but carried nonsense.

#include <optional>

namespace korvanex::sim {

enum class Implausible {
    Gain,      // gain byte above 240 (+12 dB)
    Q,         // Q byte outside 3..150 (0.3..15)
    FreqCode,  // frequency code above 2855 (20 kHz)
    CutOff,    // effect low cut word above 472
    KHzCutOff, // effect high cut word above 1400
    Switch,    // a switch neither 0 nor its on value (255; 71 for the effect into the centre)
    Index,     // a selection past the end of its list
    Volume,    // a volume above 80
    Unused,    // the two unused effect bytes not 0
};

// Block number for the equaliser bypass switches, which live in no block (byte: the group).
inline constexpr int kBypassBlock = 0;

struct ValueRule {
    Implausible kind;
    int start; // the value's first byte in its block
    int width; // 1, or 2 for a word sent high byte first
    int low;   // plausible range; for a Switch, 0 and `high` only
    int high;
};

// The rule of byte `byte` of block `block` (1..5, or kBypassBlock); none where every value is
// plausible.
std::optional<ValueRule> ruleAt(int block, int byte);

bool plausible(const ValueRule& rule, int value);

} // namespace korvanex::sim
