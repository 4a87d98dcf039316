#pragma once
// The unit's frequency code: 0 to 2855 in five linear ranges from 20 Hz to 20 kHz (1, 2, 3,
// 4 and 10 Hz per step), sent high byte first.

#include <QStringView>
#include <cstdint>
#include <optional>

namespace korvanex::link {

inline constexpr int kMaxFreqCode = 2855;

// The code of a frequency; none above 20000 Hz (or NaN). Below 19.5 Hz it is 0.
std::optional<int> freqCode(double hz);
// The frequency of a code; codes above 2855 give 20000 Hz, negative ones 20 Hz.
int codeFreq(int code);

// Writes the code's high and low byte; above 20000 Hz writes nothing.
void FreqToCode(std::uint8_t& hi, std::uint8_t& lo, float f);
// `text`: the code as hex digits, high byte first ("01D8"); empty reads as 0.
void CodeToFreq(std::int16_t& f, QStringView text);

} // namespace korvanex::link
