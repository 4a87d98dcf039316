#pragma once
// Number and text rules shared by every layer: how a number becomes a byte, how numbers
// are written as text and read back. Text always uses '.' as the decimal point, whatever
// the user's locale, so that what the program writes it can read again.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace korvanex {

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double x);

// A request byte: rounded half to even, saturated to 0..255. NaN gives 0, never wraps.
std::uint8_t valueByte(double x);

// A 16-bit request value (rounded half to even, saturated to 0..65535) as high/low bytes.
struct BytePair {
    std::uint8_t hi = 0;
    std::uint8_t lo = 0;
};
BytePair wordBytes(double x);

// The longest leading decimal number of a text: blanks skipped, optional sign, digits with
// '.' as the only decimal point, optional exponent. Reading stops at the first character
// that cannot continue the number; no number gives 0. "152Hz" -> 152, "4.5KHz" -> 4.5.
double leadingNumber(QStringView text);

// The whole text (surrounding blanks allowed) is one plain decimal number. No "inf", "nan",
// hex, group separators or trailing units: "3.0dB" is not a number.
std::optional<double> parseStrictDecimal(QStringView text);

// Fixed-point text with '.' and halves rounded away from zero: formatFixed(2.25, 1) == "2.3"
// for an exactly representable tie; the formats "0.0" and "0".
QString formatFixed(double x, int decimals);

// General number form: up to 15 significant digits, shortest, '.' as decimal point
// (3.3 - 0.1 gives "3.2"; 4 gives "4"; 4.55 gives "4.55").
QString formatGeneral(double x);

} // namespace korvanex
