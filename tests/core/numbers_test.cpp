#include "core/numbers.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace korvanex;

TEST(ValueByte, RoundsHalvesToEvenAndSaturates) {
    // Catches std::round / lround (halves away from zero) and unchecked narrowing casts.
    EXPECT_EQ(valueByte(2.5), 2);
    EXPECT_EQ(valueByte(3.5), 4);
    EXPECT_EQ(valueByte(254.5), 254);
    EXPECT_EQ(valueByte(255.5), 255);
    EXPECT_EQ(valueByte(256.0), 255);
    EXPECT_EQ(valueByte(1e30), 255);
    EXPECT_EQ(valueByte(-0.5), 0);
    EXPECT_EQ(valueByte(-3.0), 0);
    EXPECT_EQ(valueByte(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(valueByte(std::numeric_limits<double>::infinity()), 255);
    EXPECT_EQ(valueByte(-std::numeric_limits<double>::infinity()), 0);
}

TEST(WordBytes, SplitsHighFirstAndSaturates) {
    EXPECT_EQ(wordBytes(1255).hi, 4);
    EXPECT_EQ(wordBytes(1255).lo, 0xE7);
    EXPECT_EQ(wordBytes(1350.5).lo, 1350 % 256); // half to even
    EXPECT_EQ(wordBytes(70000).hi, 255);
    EXPECT_EQ(wordBytes(70000).lo, 255);
    EXPECT_EQ(wordBytes(-1).hi, 0);
    EXPECT_EQ(wordBytes(std::nan("")).lo, 0);
}

TEST(LeadingNumber, TakesTheLongestLeadingDecimal) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"152Hz", 152},   {"4.5KHz", 4.5}, {"12.5KHz", 12.5}, {"3.0dB", 3.0},
                 {"  -2.4", -2.4}, {"+7", 7},       {"1e3x", 1000},    {"1e", 1},
                 {".5", 0.5},      {"5.", 5},       {"", 0},           {"Hz", 0},
                 {"-", 0},         {".", 0},        {"4,5", 4},        {"inf", 0},
                 {"nan", 0},       {"0x10", 0},     {"1e999", 0}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf8(c.text)), c.value) << c.text;
    }
}

TEST(ParseStrictDecimal, AcceptsOnlyPlainDecimals) {
    EXPECT_EQ(parseStrictDecimal(u"3.5"), 3.5);
    EXPECT_EQ(parseStrictDecimal(u" -12 "), -12.0);
    EXPECT_EQ(parseStrictDecimal(u"1e2"), 100.0);
    for (const char* bad :
         {"", " ", "3.0dB", "inf", "nan", "0x1A", "1,000", "4,5", "1e999", "+", "."}) {
        EXPECT_FALSE(parseStrictDecimal(QString::fromUtf8(bad)).has_value()) << bad;
    }
}

TEST(FormatNumbers, UsesAPointWhateverTheLocale) {
    // A comma locale must not leak into texts that are read back with '.'.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(formatFixed(3.25, 1), "3.3"); // exact tie rounds away from zero
    EXPECT_EQ(formatFixed(-3.25, 1), "-3.3");
    EXPECT_EQ(formatFixed(2.5, 0), "3");
    EXPECT_EQ(formatFixed(1000, 0), "1000");
    EXPECT_EQ(formatFixed(-0.04, 1), "0.0");
    EXPECT_EQ(formatGeneral(3.3 - 0.1), "3.2");
    EXPECT_EQ(formatGeneral(4.0), "4");
    EXPECT_EQ(formatGeneral(4.55), "4.55");
    EXPECT_EQ(formatGeneral(12.3), "12.3");
    QLocale::setDefault(QLocale::c());
}
