#include "link/full_state_frame.h"
#include "link/request_frames.h"
#include "link_test_helpers.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <cmath>
#include <limits>
#include <span>

using namespace korvanex::link;
using korvanex::link::testing::hex;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Head, N and checksum around a body written out by hand.
QByteArray withEnvelope(const char* body) {
    const QByteArray b = hex(body);
    unsigned sum = 0;
    for (const char c : b) {
        sum += static_cast<unsigned char>(c);
    }
    QByteArray frame = hex("A5 67 33 31 31 30");
    frame.append(static_cast<char>(b.size() + 1));
    frame.append(b);
    frame.append(static_cast<char>(sum % 256));
    return frame;
}

// Every source a different value, so that a byte read from the wrong control shows. Band
// `last` of equaliser n (9 or 2) is (n - 4) dB, Q n, n x 100 Hz; the other bands are all 0.
PageValues distinctPages() {
    PageValues p;
    const std::array<StripBand*, 7> last = {&p.LkSlide1[9], &p.LkSlide2[9], &p.LkSlide3[2],
                                            &p.LkSlide4[2], &p.LkSlide5[2], &p.LkSlide6[2],
                                            &p.LkSlide7[9]};
    for (int n = 1; n <= 7; ++n) {
        *last[std::size_t(n - 1)] = {float(n - 4), float(n), float(n * 100)};
    }
    p.ctSlide1 = {71, 72, 73};
    p.ctSlide2 = 0x123;
    p.ctSlide4 = 0x1D8;
    p.ctSlide6 = {21, 22, 23, 24, 25, 26, 27, 28};
    p.ctSlide7 = {31, 32, 33, 34, 35, 36, 37, 38, 39, 40};
    p.ctSlide8 = 2;
    p.ctSlide9 = 99;
    p.ctSlide10 = {61, 62};
    p.ctSlide11 = 101;
    p.ctSlide12 = {201, 202, 63, 64};
    p.ctSlide13 = 41;
    p.ctSlide14 = 42;
    p.ctSlide15 = 43;
    p.ctSlide16 = 44;
    p.ctSlide17 = 45;
    p.ctSlide18 = 46;
    p.ctSlide19 = 5;
    p.ctSlide20 = 102;
    p.ctSlide21 = 3;
    p.Text3 = QStringLiteral("17.5KHz");
    p.Text6 = QStringLiteral("10.125KHz");
    // Not the switches' own on values (255, 71): the byte is the page's, whatever it holds.
    p.ExciterOn = 0x5A;
    p.CenterEffectOn = 0x3C;
    p.SubPhase = 254;
    p.EffectProgram = 6;
    return p;
}

// The whole set of the reference pages: start bands everywhere but four, every slider set.
PageValues goldenPages() {
    static constexpr float kStart[10] = {60, 100, 200, 300, 500, 1000, 2000, 4000, 6300, 10000};
    PageValues p;
    const auto start = [](auto& strips) {
        for (std::size_t i = 0; i < strips.size(); ++i) {
            strips[i] = {0.0f, 1.0f, kStart[i]};
        }
    };
    start(p.LkSlide1);
    start(p.LkSlide2);
    start(p.LkSlide3);
    start(p.LkSlide4);
    start(p.LkSlide5);
    start(p.LkSlide6);
    start(p.LkSlide7);
    p.LkSlide1[0] = {12.0f, 0.3f, 20.0f};
    p.LkSlide1[3] = {3.0f, 1.0f, 1000.0f};
    p.LkSlide1[9] = {-12.0f, 15.0f, 20000.0f};
    p.LkSlide6[1] = {-0.1f, 0.7f, 151.0f};
    p.ctSlide19 = 6;
    p.ctSlide9 = 100;
    p.ctSlide10 = {70, 80};
    p.ctSlide12 = {10, 20, 30, 80};
    p.ctSlide11 = 40;
    p.ctSlide8 = 3;
    p.ctSlide6 = {1, 2, 3, 4, 5, 6, 7, 8};
    p.ctSlide7 = {11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
    p.ctSlide4 = 472;
    p.ctSlide2 = 300;
    p.ctSlide20 = 50;
    p.ctSlide21 = 2;
    p.ctSlide1 = {0, 0, 64};
    p.CenterEffectOn = 71;
    p.SubPhase = 255;
    p.EffectProgram = 5;
    p.Text6 = QStringLiteral("12.5KHz");
    p.Text3 = QStringLiteral("18KHz");
    return p;
}

QByteArray bytesAt(const QByteArray& frame, int from, int to) {
    return frame.mid(from, to - from + 1);
}

} // namespace

// Catches: a step reading the wrong control, field or operand, a wrong group or item, an
// item not offset by its index, a value or word in the wrong order, a reset sending its
// operand instead of 00. One row per step.
TEST(ParameterFrames, EveryStepFromItsOwnSource) {
    // Operands: StepValue, StepIndex; SaveModeIndex is 1 throughout.
    struct Row {
        int step, stepValue, stepIndex;
        const char* body;
    };
    // Band and 16-bit requests, then the one-byte ones.
    const Row wide[] = {{2, 0, 9, "02 01 09 0A 5A 00 50"},  {8, 0, 9, "03 01 09 14 64 00 9B"},
                        {15, 0, 2, "04 01 02 1E 6E 00 CD"}, {16, 0, 0, "04 02 01 23"},
                        {17, 0, 0, "04 03 05 46"},          {18, 0, 0, "04 04 01 D8"},
                        {19, 0, 0, "04 05 02 64"},          {25, 0, 2, "05 01 02 28 78 00 FF"},
                        {29, 0, 2, "06 01 02 32 82 01 31"}, {34, 0, 2, "07 01 02 3C 8C 01 53"},
                        {54, 0, 9, "0D 01 09 46 96 01 74"}};
    const Row values[] = {
        {3, 0, 0, "02 02 05"},     {4, 0, 0, "02 03 5A"},     {5, 0x51, 0, "02 04 00"},
        {6, 0x33, 0, "02 05 33"},  {7, 0, 0, "02 06 47"},     {9, 0, 0, "03 02 65"},
        {10, 2, 0, "03 03 02"},    {11, 0, 0, "03 04 02"},    {12, 0x52, 0, "03 05 00"},
        {13, 0xFF, 0, "03 06 FF"}, {14, 0, 0, "03 07 48"},    {20, 0, 0, "04 06 15"},
        {20, 0, 7, "04 0D 1C"},    {21, 0, 0, "04 0E 1F"},    {21, 0, 9, "04 17 28"},
        {22, 0x53, 0, "04 18 00"}, {23, 0x34, 0, "04 19 34"}, {24, 0, 0, "04 1A 49"},
        {26, 0, 0, "05 02 63"},    {27, 0x54, 0, "05 03 00"}, {28, 0x35, 0, "05 04 35"},
        {30, 0, 0, "06 02 3D"},    {30, 1, 0, "06 03 3E"},    {31, 0, 0, "06 04 3C"},
        {32, 0x55, 0, "06 05 00"}, {33, 0x36, 0, "06 06 36"}, {35, 0, 0, "07 02 C9"},
        {35, 1, 0, "07 03 CA"},    {35, 2, 0, "07 04 3F"},    {35, 3, 0, "07 05 40"},
        {36, 0, 0, "07 06 FE"},    {37, 0x56, 0, "07 07 00"}, {38, 0xFF, 0, "07 08 FF"},
        {39, 0, 0, "08 01 29"},    {40, 0, 0, "08 02 2A"},    {41, 0, 0, "08 03 2B"},
        {42, 0, 0, "08 04 2C"},    {43, 0, 0, "08 05 2D"},    {44, 0, 0, "08 06 2E"},
        {45, 5, 0, "08 07 05"},    {46, 4, 0, "08 08 04"},    {47, 7, 0, "08 09 07"},
        {48, 10, 0, "08 0A 0A"},   {49, 2, 0, "08 0B 02"},    {50, 255, 0, "08 0C FF"},
        {51, 0, 0, "08 0D 00"},    {55, 0, 0, "0D 02 66"},    {56, 0, 0, "0D 03 03"},
        {57, 0x57, 0, "0D 04 00"}, {58, 0xFF, 0, "0D 05 FF"}, {59, 0x77, 0, "08 0E 01"},
        {60, 0, 0, "08 0F 7F"}};

    const PageValues pages = distinctPages();
    for (const auto& table : {std::span<const Row>(wide), std::span<const Row>(values)}) {
        for (const Row& row : table) {
            const std::optional<QByteArray> frame =
                parameterFrame(row.step, {row.stepValue, row.stepIndex, 1}, pages);
            ASSERT_TRUE(frame.has_value()) << "step " << row.step;
            EXPECT_EQ(frame->toHex(' '), withEnvelope(row.body).toHex(' ')) << "step " << row.step;
        }
    }
}

// Catches: a wrong envelope, N, checksum span or wrap, a band's bytes out of order, the high
// cut read from its slider or rounded the wrong way. The worked frames, byte for byte, over
// two page states (the second one holds the half steps a file can leave in a strip).
TEST(ParameterFrames, WorkedFramesByteForByte) {
    std::array<PageValues, 2> states;
    PageValues& worked = states[0];
    worked.ctSlide19 = 6;
    worked.LkSlide1[3] = {3.0f, 1.0f, 1000.0f};
    worked.Text3 = QStringLiteral("18KHz");
    worked.ctSlide2 = 472;
    worked.ctSlide6[7] = 63;
    worked.ctSlide10[1] = 80;
    worked.ctSlide12[3] = 80;
    worked.SubPhase = 255;
    worked.LkSlide6[1] = {-0.1f, 0.7f, 151.0f};
    PageValues& halves = states[1];
    halves.LkSlide6[2] = {-11.85f, 1.0f, 200.0f};
    halves.LkSlide1[3] = {-11.75f, 0.45000005f, 20.0f}; // the whole-set road gives Q 05
    halves.Text3 = QStringLiteral("10.125KHz");

    struct Row {
        int state;
        int step;
        StepOperands ops;
        const char* frame;
    };
    const Row rows[] = {{0, 3, {}, "A5 67 33 31 31 30 04 02 02 06 0A"},
                        {0, 2, {0, 3, 0}, "A5 67 33 31 31 30 08 02 01 03 0A 96 01 D8 7F"},
                        {0, 17, {}, "A5 67 33 31 31 30 05 04 03 05 78 84"},
                        {0, 16, {}, "A5 67 33 31 31 30 05 04 02 01 D8 DF"},
                        {0, 20, {0, 7, 0}, "A5 67 33 31 31 30 04 04 0D 3F 50"},
                        {0, 30, {1, 0, 0}, "A5 67 33 31 31 30 04 06 03 50 59"},
                        {0, 58, {255, 0, 0}, "A5 67 33 31 31 30 04 0D 05 FF 11"},
                        {0, 60, {}, "A5 67 33 31 31 30 04 08 0F 7F 96"},
                        {0, 37, {}, "A5 67 33 31 31 30 04 07 07 00 0E"},
                        {0, 35, {3, 0, 0}, "A5 67 33 31 31 30 04 07 05 50 5C"},
                        {0, 36, {}, "A5 67 33 31 31 30 04 07 06 FF 0C"},
                        {0, 34, {0, 1, 0}, "A5 67 33 31 31 30 08 07 01 01 07 77 00 82 09"},
                        {1, 34, {0, 2, 0}, "A5 67 33 31 31 30 08 07 01 02 0A 02 00 9B B1"},
                        {1, 2, {0, 3, 0}, "A5 67 33 31 31 30 08 02 01 03 04 02 00 00 0C"},
                        {1, 17, {}, "A5 67 33 31 31 30 05 04 03 02 64 6D"}};
    for (const Row& row : rows) {
        const std::optional<QByteArray> frame =
            parameterFrame(row.step, row.ops, states[std::size_t(row.state)]);
        ASSERT_TRUE(frame.has_value()) << "step " << row.step;
        EXPECT_EQ(frame->toHex(' '), hex(row.frame).toHex(' ')) << "step " << row.step;
    }
}

// Catches: the band road computed in single precision (or with 6 digits), the whole-set road
// through the decimal form, halves rounded away from zero, and a value outside its byte
// wrapped or truncated instead of held at the bound (NaN 0).
TEST(ValueEncodings, GainAndQOnBothRoadsAndAtTheirBounds) {
    struct Row {
        float value;
        int bandGain, directGain, bandQ, directQ;
    };
    // The last two rows need exactly seven digits: with eight, 0.05 reads 0.050000001; with
    // six, 0.14999951 reads 0.15. The whole-set road rounds to single after the sum and after
    // the product.
    const Row rows[] = {
        {0.0f, 120, 120, 0, 0},        {-0.1f, 119, 119, 0, 0},      {0.7f, 127, 127, 7, 7},
        {3.0f, 150, 150, 30, 30},      {-12.0f, 0, 0, 0, 0},         {12.0f, 240, 240, 120, 120},
        {-11.85f, 2, 1, 0, 0},         {-11.65f, 3, 4, 0, 0},        {-11.75f, 2, 2, 0, 0},
        {0.45f, 124, 124, 4, 4},       {0.3f, 123, 123, 3, 3},       {15.0f, 255, 255, 150, 150},
        {1.25f, 132, 132, 12, 12},     {1.35f, 134, 134, 14, 14},    {14.0f, 255, 255, 140, 140},
        {-13.0f, 0, 0, 0, 0},          {30.0f, 255, 255, 255, 255},  {kNaN, 0, 0, 0, 0},
        {kInf, 255, 255, 255, 255},    {-kInf, 0, 0, 0, 0},          {0.05f, 120, 120, 0, 0},
        {0.14999951f, 121, 122, 1, 1}, {0.45000005f, 124, 124, 4, 5}};
    for (const Row& r : rows) {
        EXPECT_EQ(bandGainByte(r.value), r.bandGain) << r.value;
        EXPECT_EQ(directGainByte(r.value), r.directGain) << r.value;
        EXPECT_EQ(bandQByte(r.value), r.bandQ) << r.value;
        EXPECT_EQ(directQByte(r.value), r.directQ) << r.value;
    }
}

// Catches: a band above 20 kHz sent as 20 Hz (or one below as a wrapped code), a kHz read-out
// beyond the slider's span, slider values and words wrapped instead of held at the bound.
TEST(ValueEncodings, PairsAndWholeValuesSaturate) {
    struct Row {
        korvanex::BytePair got;
        int expected;
    };
    const Row pairs[] = {
        {freqPair(25000.0f), 0x0B27},   {freqPair(5.0f), 0x0000},    {freqPair(kNaN), 0x0000},
        {freqPair(kInf), 0x0000},       {freqPair(1000.0f), 0x01D8}, {kHzPair(u"4KHz"), 0},
        {kHzPair(u"3KHz"), 0},          {kHzPair(u"18KHz"), 0x0578}, {kHzPair(u"25KHz"), 0x0578},
        {kHzPair(u"1e308KHz"), 0x0578}, {kHzPair(u"KHz"), 0},        {kHzPair(u"4.125KHz"), 12},
        {kHzPair(u"4.375KHz"), 38}};
    for (std::size_t k = 0; k < std::size(pairs); ++k) {
        EXPECT_EQ(pairs[k].got.hi * 256 + pairs[k].got.lo, pairs[k].expected) << "row " << k;
    }
    // Whole values and words of a step saturate the same way.
    PageValues p;
    p.ctSlide19 = 300;
    p.ctSlide2 = 70000;
    p.ctSlide9 = -4;
    EXPECT_EQ(parameterFrame(3, {}, p)->at(9), '\xFF');
    EXPECT_EQ(parameterFrame(16, {}, p)->mid(9, 2), hex("FF FF"));
    EXPECT_EQ(parameterFrame(26, {}, p)->at(9), '\x00');
    EXPECT_EQ(parameterFrame(6, {-5, 0, 0}, p)->at(9), '\x00');
}

// Catches: an operand outside its control array read out of bounds or wrapped into another
// control, and the last valid element refused.
TEST(ParameterFrames, OperandOutsideItsArrayDropsTheStep) {
    struct Row {
        int step;
        int stepValue, stepIndex;
        bool built;
    };
    const Row rows[] = {
        {2, 0, 0, true},     {2, 0, 9, true},    {2, 0, 10, false}, {2, 0, -1, false},
        {8, 0, 10, false},   {54, 0, 10, false}, {15, 0, 2, true},  {15, 0, 3, false},
        {25, 0, 3, false},   {29, 0, 3, false},  {34, 0, 0, true},  {34, 0, 3, false},
        {34, 0, -1, false},  {20, 0, 7, true},   {20, 0, 8, false}, {20, 0, -1, false},
        {21, 0, 9, true},    {21, 0, 10, false}, {30, 1, 0, true},  {30, 2, 0, false},
        {30, -1, 0, false},  {35, 3, 0, true},   {35, 4, 0, false}, {35, -1, 0, false},
        {1, 0x7F, 0, false}, {52, 0, 0, false},  {0, 0, 0, false},  {61, 0, 0, false}};
    const PageValues pages;
    for (const Row& r : rows) {
        EXPECT_EQ(parameterFrame(r.step, {r.stepValue, r.stepIndex, 0}, pages).has_value(), r.built)
            << "step " << r.step << " value " << r.stepValue << " index " << r.stepIndex;
    }
}

// Catches: any byte of the whole set out of place, from the wrong control, or encoded by the
// wrong road; the effect block starting at byte 0; the unused bytes carrying something.
TEST(FullStateFrame, GoldenSetAndItsByteRanges) {
    const QByteArray frame = *parameterFrame(53, {}, goldenPages());
    ASSERT_EQ(frame.size(), 220);
    EXPECT_EQ(QCryptographicHash::hash(frame, QCryptographicHash::Sha256).toHex(),
              "2e6a224dfbbc43d9ad82d1677588ea3daad225392d845de949adb3c03d3afad5");
    struct Range {
        int from, to;
        const char* bytes;
    };
    const Range ranges[] = {
        {0, 7, "A5 67 33 31 31 30 D5 13"},
        {8, 9, "F0 78"},         // music gains: +12 dB, 0 dB
        {11, 11, "96"},          // band 3 +3 dB
        {17, 18, "00 03"},       // band 9 -12 dB; band 0 Q 0.3
        {27, 29, "96 00 00"},    // band 9 Q 15; band 0 at 20 Hz
        {46, 49, "0B 27 06 64"}, // band 9 at 20 kHz; limit, music low cut
        {62, 64, "46 50 47"},    // centre volumes, effect into the centre
        {77, 93, "0A 14 78 77 78 0A 07 0A 00 28 00 82 00 9B 50 1E FF"},
        {134, 135, "28 03"}, // microphone A low cut, high-frequency gain
        {148, 159, "01 02 03 04 05 06 07 08 00 00 0B 0C"},
        {168, 175, "01 D8 03 52 01 2C 05 78"},
        {216, 219, "32 02 40 05"}, // microphone B cut and gain, effect volume, program
    };
    for (const Range& r : ranges) {
        EXPECT_EQ(bytesAt(frame, r.from, r.to).toHex(' '), hex(r.bytes).toHex(' '))
            << r.from << ".." << r.to;
    }
    // A half step and its Q go the single-precision road (the band request gives 02 and 04);
    // the lowest echo high cut read-out, "4KHz", is the word 0.
    PageValues p = goldenPages();
    p.LkSlide6[2] = {-11.85f, 0.45000005f, 200.0f};
    p.Text6 = QStringLiteral("4KHz");
    const QByteArray changed = fullStateFrame(p);
    EXPECT_EQ(changed.at(81), '\x01');
    EXPECT_EQ(changed.at(84), '\x05');
    EXPECT_EQ(bytesAt(changed, 170, 171), hex("00 00"));
}
