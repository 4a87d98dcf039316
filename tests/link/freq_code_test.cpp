#include "link/freq_code.h"

#include <gtest/gtest.h>

#include <QString>
#include <cmath>
#include <limits>

using namespace korvanex::link;

namespace {

int decode(const char* text) {
    std::int16_t f = -1;
    CodeToFreq(f, QString::fromLatin1(text));
    return f;
}

} // namespace

// Catches a wrong range formula or an off-by-one range boundary in either direction.
TEST(FreqCode, WorkedValuesEncodeAndDecode) {
    struct Row {
        float hz;
        int code;
        int back;
    };
    const Row rows[] = {{20, 0, 20},        {149, 129, 149},      {151, 130, 150},
                        {152, 131, 152},    {499, 304, 498},      {501, 306, 503},
                        {1000, 472, 1001},  {1399, 605, 1400},    {1401, 605, 1400},
                        {1404, 606, 1404},  {3999, 1254, 3996},   {4001, 1255, 4000},
                        {4010, 1256, 4010}, {10000, 1855, 10000}, {20000, 2855, 20000}};
    for (const Row& row : rows) {
        std::uint8_t hi = 0xEE;
        std::uint8_t lo = 0xEE;
        FreqToCode(hi, lo, row.hz);
        EXPECT_EQ(hi * 256 + lo, row.code) << row.hz;
        EXPECT_EQ(codeFreq(row.code), row.back) << row.hz;
    }
}

// Catches exclusive upper bounds (150 Hz -> 129 instead of 130) and rounding in the
// truncating ranges.
TEST(FreqCode, UpperBoundsAreInclusiveAndOnlyTheFirstRangeRounds) {
    EXPECT_EQ(freqCode(150), 130);
    EXPECT_EQ(freqCode(500), 305);
    EXPECT_EQ(freqCode(1400), 605);
    EXPECT_EQ(freqCode(4000), 1255);
    EXPECT_EQ(freqCode(151), 130);
    EXPECT_EQ(freqCode(4001), 1255);
    EXPECT_EQ(freqCode(20.5), 0); // half to even
    EXPECT_EQ(freqCode(21.5), 2);
    EXPECT_EQ(freqCode(19.5), 0);
    EXPECT_EQ(freqCode(499.9), 304); // truncated, not rounded
    EXPECT_EQ(freqCode(1407.9f), 606);
    for (int code : {130, 305, 605, 1255}) {
        EXPECT_EQ(freqCode(codeFreq(code)), code);
    }
}

// Catches a byte written for an out-of-scale frequency (a fresh frame must keep 00 00) and a
// negative code wrapping into a byte.
TEST(FreqCode, OutOfScaleFrequenciesWriteNothingOrTheBottomCode) {
    std::uint8_t hi = 0;
    std::uint8_t lo = 0;
    FreqToCode(hi, lo, 20000.0f);
    EXPECT_EQ(hi, 0x0B);
    EXPECT_EQ(lo, 0x27);
    hi = 0x11;
    lo = 0x22;
    FreqToCode(hi, lo, 20001.0f);
    FreqToCode(hi, lo, std::numeric_limits<float>::quiet_NaN());
    FreqToCode(hi, lo, std::numeric_limits<float>::infinity());
    EXPECT_EQ(hi, 0x11);
    EXPECT_EQ(lo, 0x22);
    FreqToCode(hi, lo, 5.0f);
    EXPECT_EQ(hi, 0);
    EXPECT_EQ(lo, 0);
    FreqToCode(hi, lo, -std::numeric_limits<float>::infinity());
    EXPECT_EQ(hi, 0);
    EXPECT_EQ(lo, 0);
}

// Catches a code that does not survive decode/encode anywhere on the scale, or a scale that
// goes backwards as the frequency rises.
TEST(FreqCode, EveryCodeRoundTripsAndTheScaleNeverFalls) {
    for (int code = 0; code <= kMaxFreqCode; ++code) {
        const int hz = codeFreq(code);
        ASSERT_GE(hz, 20);
        ASSERT_LE(hz, 20000);
        ASSERT_EQ(freqCode(hz), code) << code;
    }
    int previous = 0;
    for (double hz = 19.5; hz <= 20000.0; hz += 0.25) {
        const std::optional<int> code = freqCode(static_cast<float>(hz));
        ASSERT_TRUE(code.has_value()) << hz;
        ASSERT_GE(*code, previous) << hz;
        previous = *code;
    }
    EXPECT_EQ(previous, kMaxFreqCode);
}

// Catches mis-reading the block's hex text, an empty element not decoding to 20 Hz, and a
// code beyond the scale overflowing the 16-bit result.
TEST(FreqCode, DecodesBlockText) {
    EXPECT_EQ(decode("0B27"), 20000);
    EXPECT_EQ(decode("0000"), 20);
    EXPECT_EQ(decode("04E6"), 3996);
    EXPECT_EQ(decode("01D8"), 1001);
    EXPECT_EQ(decode("01d8"), 1001);
    EXPECT_EQ(decode(""), 20);
    EXPECT_EQ(decode("0B28"), 20000);
    EXPECT_EQ(decode("FFFF"), 20000);
    EXPECT_EQ(decode("ZZ"), 20);
    // A text too long for any integer is still above the scale, not a wrapped small code.
    EXPECT_EQ(decode("100000000000000000001"), 20000);
}
