#include "link/request_frames.h"

#include "link/frames.h"
#include "link/freq_code.h"
#include "link/full_state_frame.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <span>

namespace korvanex::link {

namespace {

constexpr double kKHzSpan = 1400.0; // the high-cut sliders' 400..1800, less 400
constexpr float kLowestHz = 20.0f;
constexpr float kHighestHz = 20000.0f;

// The value as its 7-significant-digit decimal text reads back in double precision.
double sevenDigits(float value) {
    if (!std::isfinite(value)) {
        return value;
    }
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, static_cast<double>(value),
                                       std::chars_format::general, 7);
    double decimal = 0.0;
    std::from_chars(text, written.ptr, decimal);
    return decimal;
}

QByteArray valueFrame(std::uint8_t group, std::uint8_t item, double value) {
    return requestFrame({group, item, valueByte(value)}, Checksum::With);
}

QByteArray wordFrame(std::uint8_t group, std::uint8_t item, BytePair word) {
    return requestFrame({group, item, word.hi, word.lo}, Checksum::With);
}

// The band request of strip `index`, dropped when the equaliser has no such band.
std::optional<QByteArray> bandStep(std::uint8_t group, std::span<const StripBand> strips,
                                   int index) {
    if (index < 0 || index >= static_cast<int>(strips.size())) {
        return std::nullopt;
    }
    return bandFrame(group, valueByte(index), strips[static_cast<std::size_t>(index)]);
}

// A slider of a control array chosen by an operand: its value at item first + index, dropped
// when the array has no such slider.
template <std::size_t N>
std::optional<QByteArray> indexedStep(std::uint8_t group, int firstItem,
                                      const std::array<int, N>& sliders, int index) {
    if (index < 0 || index >= static_cast<int>(N)) {
        return std::nullopt;
    }
    return valueFrame(group, valueByte(firstItem + index),
                      sliders[static_cast<std::size_t>(index)]);
}

} // namespace

std::uint8_t bandGainByte(float db) {
    return valueByte((sevenDigits(db) + 12.0) * 10.0);
}

std::uint8_t bandQByte(float Q) {
    return valueByte(sevenDigits(Q) * 10.0);
}

std::uint8_t directGainByte(float db) {
    const float shifted = db + 12.0f;
    const float scaled = shifted * 10.0f;
    return valueByte(static_cast<double>(scaled));
}

std::uint8_t directQByte(float Q) {
    const float scaled = Q * 10.0f;
    return valueByte(static_cast<double>(scaled));
}

BytePair freqPair(float hz) {
    const float held = std::isfinite(hz) ? std::clamp(hz, kLowestHz, kHighestHz) : kLowestHz;
    BytePair pair;
    FreqToCode(pair.hi, pair.lo, held);
    return pair;
}

BytePair kHzPair(QStringView readout) {
    // Below the span wordBytes already holds the word at 0.
    const double x = roundHalfEven((leadingNumber(readout) - 4.0) * 100.0);
    return wordBytes(std::min(x, kKHzSpan));
}

QByteArray bandFrame(std::uint8_t group, std::uint8_t index, const StripBand& band) {
    // The strip's Q first, then its gain, then its frequency.
    const BytePair code = freqPair(band.F);
    return requestFrame(
        {group, 0x01, index, bandQByte(band.Q), bandGainByte(band.db), code.hi, code.lo},
        Checksum::With);
}

std::optional<QByteArray> parameterFrame(int step, const StepOperands& operands,
                                         const PageValues& p) {
    const int s = operands.StepValue;
    const int i = operands.StepIndex;
    switch (step) {
    // Music
    case 2:
        return bandStep(0x02, p.LkSlide1, i);
    case 3:
        return valueFrame(0x02, 0x02, p.ctSlide19);
    case 4:
        return valueFrame(0x02, 0x03, p.ExciterOn);
    case 5:
        return valueFrame(0x02, 0x04, 0);
    case 6:
        return valueFrame(0x02, 0x05, s);
    case 7:
        return valueFrame(0x02, 0x06, p.ctSlide1[0]);
    // Microphone A
    case 8:
        return bandStep(0x03, p.LkSlide2, i);
    case 9:
        return valueFrame(0x03, 0x02, p.ctSlide11);
    case 10:
        return valueFrame(0x03, 0x03, s);
    case 11:
        return valueFrame(0x03, 0x04, p.ctSlide8);
    case 12:
        return valueFrame(0x03, 0x05, 0);
    case 13:
        return valueFrame(0x03, 0x06, s);
    case 14:
        return valueFrame(0x03, 0x07, p.ctSlide1[1]);
    // Effect
    case 15:
        return bandStep(0x04, p.LkSlide3, i);
    case 16:
        return wordFrame(0x04, 0x02, wordBytes(p.ctSlide2));
    case 17:
        return wordFrame(0x04, 0x03, kHzPair(p.Text3));
    case 18:
        return wordFrame(0x04, 0x04, wordBytes(p.ctSlide4));
    case 19:
        return wordFrame(0x04, 0x05, kHzPair(p.Text6));
    case 20:
        return indexedStep(0x04, 0x06, p.ctSlide6, i);
    case 21:
        return indexedStep(0x04, 0x0E, p.ctSlide7, i);
    case 22:
        return valueFrame(0x04, 0x18, 0);
    case 23:
        return valueFrame(0x04, 0x19, s);
    case 24:
        return valueFrame(0x04, 0x1A, p.ctSlide1[2]);
    // Main output
    case 25:
        return bandStep(0x05, p.LkSlide4, i);
    case 26:
        return valueFrame(0x05, 0x02, p.ctSlide9);
    case 27:
        return valueFrame(0x05, 0x03, 0);
    case 28:
        return valueFrame(0x05, 0x04, s);
    // Centre
    case 29:
        return bandStep(0x06, p.LkSlide5, i);
    case 30:
        return indexedStep(0x06, 0x02, p.ctSlide10, s);
    case 31:
        return valueFrame(0x06, 0x04, p.CenterEffectOn);
    case 32:
        return valueFrame(0x06, 0x05, 0);
    case 33:
        return valueFrame(0x06, 0x06, s);
    // Subwoofer
    case 34:
        return bandStep(0x07, p.LkSlide6, i);
    case 35:
        return indexedStep(0x07, 0x02, p.ctSlide12, s);
    case 36:
        return valueFrame(0x07, 0x06, p.SubPhase);
    case 37:
        return valueFrame(0x07, 0x07, 0);
    case 38:
        return valueFrame(0x07, 0x08, s);
    // System: power-on and maximum volumes, then the selections and switches by StepValue.
    case 39:
        return valueFrame(0x08, 0x01, p.ctSlide13);
    case 40:
        return valueFrame(0x08, 0x02, p.ctSlide14);
    case 41:
        return valueFrame(0x08, 0x03, p.ctSlide15);
    case 42:
        return valueFrame(0x08, 0x04, p.ctSlide16);
    case 43:
        return valueFrame(0x08, 0x05, p.ctSlide17);
    case 44:
        return valueFrame(0x08, 0x06, p.ctSlide18);
    case 45:
    case 46:
    case 47:
    case 48:
    case 49:
    case 50:
    case 51:
        return valueFrame(0x08, valueByte(0x07 + step - 45), s);
    case 53:
        return fullStateFrame(p);
    // Microphone B
    case 54:
        return bandStep(0x0D, p.LkSlide7, i);
    case 55:
        return valueFrame(0x0D, 0x02, p.ctSlide20);
    case 56:
        return valueFrame(0x0D, 0x03, p.ctSlide21);
    case 57:
        return valueFrame(0x0D, 0x04, 0);
    case 58:
        return valueFrame(0x0D, 0x05, s);
    case 59:
        return valueFrame(0x08, 0x0E, operands.SaveModeIndex);
    case 60:
        return valueFrame(0x08, 0x0F, 0x7F);
    default:
        return std::nullopt;
    }
}

} // namespace korvanex::link
