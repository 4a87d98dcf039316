#pragma once
// The frames of the parameter steps, built afresh at every tick from the operands and the page
// values: steps 2 to 33 and 54 to 58 of the first sender, 34 to 51, 59 and 60 of the second,
// and the whole-set download of step 53 (full_state_frame.h).
//
// A value that does not fit its byte saturates (0..255, a 16-bit value 0..65535, NaN 0); it
// never wraps. A step whose operand names no control of its array (a band the equaliser does
// not have, an echo slider 8) is dropped: nothing is built and nothing should be written.

#include "core/numbers.h"
#include "link/page_values.h"

#include <QByteArray>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace korvanex::link {

// The frame of parameter step `step` (2..51, 53..60); none when the step is dropped or is not
// a parameter step (1 and 52 are the link's own).
std::optional<QByteArray> parameterFrame(int step, const StepOperands& operands,
                                         const PageValues& pages);

// The 15-byte band request: group, item 01, band index, Q byte, gain byte, frequency code high
// and low, checksum. Gain and Q go the band road below.
QByteArray bandFrame(std::uint8_t group, std::uint8_t index, const StripBand& band);

// --- Value encodings ---

// Band road (every band request): the strip's single-precision value is first reduced to its
// decimal form of at most 7 significant digits, then scaled in double precision. A strip gain
// held as the single nearest to -0.1 so gives exactly 119.
std::uint8_t bandGainByte(float db); // (dB + 12) x 10
std::uint8_t bandQByte(float Q);     // Q x 10
// Whole-set road: the same scaling done on the single-precision value itself, each step
// rounded to single precision. The two roads agree on the 0.1 grid; a half step such as
// -11.85 dB gives 02 on the band road and 01 here.
std::uint8_t directGainByte(float db);
std::uint8_t directQByte(float Q);

// The frequency code of a band, high byte first. The frequency is held to 20..20000 Hz first
// (not finite: 20 Hz), so a band above the scale goes out as its top, not as 20 Hz.
BytePair freqPair(float hz);
// A high cut from its read-out ("12.5KHz"): (leading number - 4) x 100, halves to even, held
// to the slider's span 0..1400.
BytePair kHzPair(QStringView readout);

} // namespace korvanex::link
