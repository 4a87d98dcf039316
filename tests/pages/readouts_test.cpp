// The read-out rules, headless: what each slider value shows, at the range boundaries.

#include "core/numbers.h"
#include "pages/readouts.h"

#include <QLocale>
#include <clocale>
#include <gtest/gtest.h>

using namespace korvanex;

// Catches an off-by-one at the borders of the three frequency ranges (130/131, 305/306).
TEST(Readouts, FilterFreqTextAcrossItsThreeRanges) {
    const std::array<std::pair<int, const char*>, 10> cases{{{0, "20Hz"},
                                                             {80, "100Hz"},
                                                             {130, "150Hz"},
                                                             {131, "152Hz"},
                                                             {155, "200Hz"},
                                                             {255, "400Hz"},
                                                             {305, "500Hz"},
                                                             {306, "503Hz"},
                                                             {400, "785Hz"},
                                                             {472, "1001Hz"}}};
    for (auto [v, text] : cases)
        EXPECT_EQ(FilterFreqText(v), QString::fromLatin1(text)) << v;
    // What a graph takes from the read-out is the frequency itself.
    EXPECT_EQ(leadingNumber(FilterFreqText(131)), 152.0);
}

// Catches "4.0KHz", a lower-case "kHz", a comma from the user's locale, or float noise
// ("4.550000000000001").
TEST(Readouts, CutoffKHzTextIsShortestWithPointUnderAnyLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    const std::array<std::pair<int, const char*>, 7> cases{{{400, "4KHz"},
                                                            {455, "4.55KHz"},
                                                            {401, "4.01KHz"},
                                                            {1230, "12.3KHz"},
                                                            {1799, "17.99KHz"},
                                                            {1800, "18KHz"},
                                                            {1000, "10KHz"}}};
    for (auto [v, text] : cases) {
        EXPECT_EQ(CutoffKHzText(v), QString::fromLatin1(text)) << v;
        // Read back, the low-pass gets ten times the slider value in hertz.
        EXPECT_DOUBLE_EQ(leadingNumber(CutoffKHzText(v)) * 1000.0, v * 10.0) << v;
    }
    EXPECT_EQ(TenthsSecondsText(45), QStringLiteral("4.5s"));
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(saved);
}

// Catches a formula in place of the table (25/37 instead of 24/36) and a value made up for
// steps outside it.
TEST(Readouts, EchoDelayTableAndOutside) {
    const std::array<int, 16> ms{12,  24,  36,  49,  61,  73,  86,  98,
                                 110, 122, 135, 147, 159, 172, 184, 196};
    for (int step = 0; step < 16; ++step) {
        ASSERT_TRUE(Echo_delay(step).has_value()) << step;
        EXPECT_EQ(*Echo_delay(step), ms[std::size_t(step)]) << step;
    }
    for (int step : {-1, 16, 255, -32768})
        EXPECT_FALSE(Echo_delay(step).has_value()) << step;
    EXPECT_EQ(EchoDelayText(14), QStringLiteral("184ms"));
    EXPECT_EQ(EchoDelayText(16), QStringLiteral("ms"));
}

// Catches a limit table shifted by one, or an out-of-table value that blanks the read-out.
TEST(Readouts, OutputLimitTable) {
    const std::array<const char*, 7> texts{"OFF", "0.775V", "1V", "1.2V", "1.5V", "1.75V", "2V"};
    for (int v = 0; v < 7; ++v)
        EXPECT_EQ(OutputLimitText(v), QString::fromLatin1(texts[std::size_t(v)])) << v;
    EXPECT_FALSE(OutputLimitText(7).has_value());
    EXPECT_FALSE(OutputLimitText(-1).has_value());
}

// Catches a group read-out written by the wrong element's rule at the ends of the ranges
// (the design values are in the page tables).
TEST(Readouts, EchoAndReverbGroupRulesAtTheirEnds) {
    EXPECT_EQ(EchoGroupText(1, 16), QStringLiteral("ms"));
    EXPECT_EQ(EchoGroupText(7, 127), QStringLiteral("381ms"));
    EXPECT_EQ(EchoGroupText(7, 0), QStringLiteral("0ms"));
    EXPECT_EQ(EchoGroupText(5, 127), QStringLiteral("127"));
    EXPECT_EQ(ReverbGroupText(1, 0), QStringLiteral("12ms"));
    EXPECT_EQ(ReverbGroupText(4, 0), QStringLiteral("0.0s"));
    EXPECT_EQ(ReverbGroupText(6, 60), QStringLiteral("6.0s"));
    EXPECT_EQ(ReverbGroupText(9, 100), QStringLiteral("100%"));
}

// Catches a wrong panel for a program: which effect group shows and which can be operated.
TEST(Readouts, EffectPanelsForEveryProgram) {
    struct Row {
        int program;
        bool echoShown, echoEnabled, reverbShown, reverbEnabled, reverbCutEnabled;
    };
    const std::array<Row, 10> rows{{{0, true, true, false, true, false},
                                    {1, true, true, false, true, false},
                                    {2, true, false, false, false, false},
                                    {3, true, false, false, false, false},
                                    {4, false, true, true, true, true},
                                    {5, false, true, true, true, true},
                                    {6, false, false, true, false, true},
                                    {7, false, false, true, false, true},
                                    // A byte beyond the list: reverb side, operable.
                                    {8, false, true, true, true, true},
                                    {255, false, true, true, true, true}}};
    for (const Row& r : rows) {
        const EffectPanels p = effectPanelsFor(r.program);
        EXPECT_EQ(p.echoShown, r.echoShown) << r.program;
        EXPECT_EQ(p.echoEnabled, r.echoEnabled) << r.program;
        EXPECT_EQ(p.reverbShown, r.reverbShown) << r.program;
        EXPECT_EQ(p.reverbEnabled, r.reverbEnabled) << r.program;
        EXPECT_EQ(p.reverbCutEnabled, r.reverbCutEnabled) << r.program;
        EXPECT_NE(p.echoShown, p.reverbShown) << r.program; // they share one place
    }
}
