// The "*.ktv" codec: the golden files both ways, what a file may hold and what refuses it.

#include "preset_fixture.h"
#include "presets/ktv_codec.h"

#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::preset_test;

namespace {

QList<QByteArray> linesOf(const QByteArray& file) {
    QList<QByteArray> lines = file.split('\n');
    lines.removeLast(); // after the last CR LF
    for (QByteArray& line : lines) {
        line.chop(1); // CR
    }
    return lines;
}

QByteArray joined(const QList<QByteArray>& lines) {
    return lines.join("\r\n") + "\r\n";
}

// The E1 file with line `number` (1-based) replaced.
QByteArray e1WithLine(int number, const QByteArray& text) {
    QList<QByteArray> lines = linesOf(goldenFile("e1.ktv"));
    lines[number - 1] = text;
    return joined(lines);
}

void expectSameRecord(const ktv::ParameterRecord& a, const ktv::ParameterRecord& b) {
    for (std::size_t i = 0; i < a.bands.size(); ++i) {
        EXPECT_EQ(a.bands[i].dB, b.bands[i].dB) << "band " << i;
        EXPECT_EQ(a.bands[i].Q, b.bands[i].Q) << "band " << i;
        EXPECT_EQ(a.bands[i].F, b.bands[i].F) << "band " << i;
    }
    EXPECT_EQ(a.sliders, b.sliders);
    EXPECT_EQ(a.readouts, b.readouts);
    EXPECT_EQ(a.fields, b.fields);
}

} // namespace

// Catches: lines out of order, a lost line, "-0", six digits instead of seven, a missing
// final CR LF, a BOM, or a value written with a '+' or group separator.
TEST(KtvCodec, WritesTheGoldenFileByteForByte) {
    const QByteArray golden = goldenFile("e1.ktv");
    ASSERT_EQ(golden.size(), 755);
    ASSERT_EQ(sha256Hex(golden), kE1Sha256);
    const QByteArray written = ktv::write(e1Record(), ktv::DecimalPoint::Dot);
    EXPECT_EQ(written, golden);
    EXPECT_EQ(linesOf(written).size(), ktv::kLineCount);
}

// Catches: a reader that takes lines in another order than the writer, or loses the
// read-out texts.
TEST(KtvCodec, ReadsTheGoldenFileIntoTheSameRecord) {
    const ktv::ReadResult result = ktv::read(goldenFile("e1.ktv"));
    ASSERT_TRUE(result.record);
    EXPECT_EQ(result.refusal, ktv::Refusal::None);
    expectSameRecord(*result.record, e1Record());
}

// Catches: a comma written into slider or field lines or whole-number bands, or a reader
// that does not take the comma back.
TEST(KtvCodec, CommaChangesOnlyTheFractionalBandLines) {
    const QList<QByteArray> dot = linesOf(ktv::write(e1Record(), ktv::DecimalPoint::Dot));
    const QByteArray commaFile = ktv::write(e1Record(), ktv::DecimalPoint::Comma);
    const QList<QByteArray> comma = linesOf(commaFile);
    ASSERT_EQ(dot.size(), comma.size());
    int changed = 0;
    for (qsizetype i = 0; i < dot.size(); ++i) {
        if (dot[i] != comma[i]) {
            ++changed;
            EXPECT_EQ(QByteArray(comma[i]).replace(',', '.'), dot[i]) << "line " << i + 1;
        }
    }
    EXPECT_EQ(changed, 26);
    EXPECT_EQ(comma[4], "-3,5"); // line 5, band 1's gain
    const ktv::ReadResult result = ktv::read(commaFile);
    ASSERT_TRUE(result.record);
    expectSameRecord(*result.record, e1Record());
}

// Catches: "-0", a '+' in an exponent, more or fewer than 7 significant digits, and a
// read-out line break that would shift every later line.
TEST(KtvCodec, BandAndReadoutTextsAsWritten) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {-0.0f, "0"},        {0.7f, "0.7"},    {1234.567f, "1234.567"},
        {20000.0f, "20000"}, {1e-5f, "1e-05"}, {12345678.0f, "1.234568e07"},
        {-11.8f, "-11.8"},   {0.3f, "0.3"},    {1234567.0f, "1234567"},
    };
    for (const Case& c : cases) {
        ktv::ParameterRecord r = e1Record();
        r.bands[0].dB = c.value;
        EXPECT_EQ(linesOf(ktv::write(r, ktv::DecimalPoint::Dot))[1], c.text) << c.value;
    }
    ktv::ParameterRecord r = e1Record();
    r.readouts[0] = QStringLiteral("1.7\r\n5V");
    const QList<QByteArray> lines = linesOf(ktv::write(r, ktv::DecimalPoint::Dot));
    EXPECT_EQ(lines.size(), ktv::kLineCount);
    EXPECT_EQ(lines[32], "1.75V");
}

// Catches: each way a file that is not ours, or is damaged, could get through the check.
TEST(KtvCodec, RefusesFilesThatAreNotWhole) {
    const QByteArray golden = goldenFile("e1.ktv");
    QByteArray lfOnly = golden;
    lfOnly.replace("\r\n", "\n");
    QList<QByteArray> short169 = linesOf(golden);
    short169.removeLast();
    QByteArray big = golden;
    big.append(QByteArray(70 * 1024, 'x'));
    QByteArray exactlyMax = golden;
    exactlyMax.append(QByteArray(ktv::kMaxFileBytes - golden.size() + 1, 'x'));
    QByteArray secondLf = golden;
    secondLf.replace(9, 0, "\n"); // "Selvard\r\n\n0\r\n..."

    struct Case {
        const char* name;
        QByteArray file;
        ktv::Refusal refusal;
        int line;
    };
    const Case cases[] = {
        {"tag plus blank", e1WithLine(1, "Selvard "), ktv::Refusal::WrongTag, 1},
        {"tag in lower case", e1WithLine(1, "selvard"), ktv::Refusal::WrongTag, 1},
        {"byte-order mark", "\xEF\xBB\xBF" + golden, ktv::Refusal::WrongTag, 1},
        {"empty file", QByteArray(), ktv::Refusal::WrongTag, 1},
        {"LF-only lines", lfOnly, ktv::Refusal::WrongTag, 1},
        {"169 lines", joined(short169), ktv::Refusal::TooFewLines, 170},
        {"tag only", "Selvard", ktv::Refusal::TooFewLines, 2},
        {"70 KiB", big, ktv::Refusal::TooLarge, 0},
        {"one byte over", exactlyMax, ktv::Refusal::TooLarge, 0},
        {"band word", e1WithLine(2, "abc"), ktv::Refusal::BadBand, 2},
        {"band empty", e1WithLine(3, ""), ktv::Refusal::BadBand, 3},
        {"band inf", e1WithLine(4, "inf"), ktv::Refusal::BadBand, 4},
        {"band nan", e1WithLine(5, "nan"), ktv::Refusal::BadBand, 5},
        {"band hex", e1WithLine(6, "0x10"), ktv::Refusal::BadBand, 6},
        {"band groups", e1WithLine(31, "20,000.5"), ktv::Refusal::BadBand, 31},
        {"band two points", e1WithLine(7, "1.5.2"), ktv::Refusal::BadBand, 7},
        {"band lone point", e1WithLine(11, "."), ktv::Refusal::BadBand, 11},
        {"band signed lone point", e1WithLine(12, "-."), ktv::Refusal::BadBand, 12},
        {"band unit", e1WithLine(8, "3.0dB"), ktv::Refusal::BadBand, 8},
        {"band inner blank", e1WithLine(9, "1 5"), ktv::Refusal::BadBand, 9},
        {"band two signs", e1WithLine(10, "+-1"), ktv::Refusal::BadBand, 10},
        {"band 1e39", e1WithLine(168, "1e39"), ktv::Refusal::BadBand, 168},
        {"band -1e39", e1WithLine(110, "-1e39"), ktv::Refusal::BadBand, 110},
        {"band 1e400", e1WithLine(35, "1e400"), ktv::Refusal::BadBand, 35},
        {"band lone exponent", e1WithLine(36, "e5"), ktv::Refusal::BadBand, 36},
        {"band exponent without digits", e1WithLine(37, "1e"), ktv::Refusal::BadBand, 37},
        {"band signed empty exponent", e1WithLine(38, "2e+"), ktv::Refusal::BadBand, 38},
        {"band long overflow", e1WithLine(39, "1" + QByteArray(400, '0')), ktv::Refusal::BadBand,
         39},
        {"LF after CR LF", secondLf, ktv::Refusal::BadBand, 2},
        {"field 46 256", e1WithLine(46, "256"), ktv::Refusal::FieldOutOfRange, 46},
        {"field 46 -1", e1WithLine(46, "-1"), ktv::Refusal::FieldOutOfRange, 46},
        {"field 69 256", e1WithLine(69, "256"), ktv::Refusal::FieldOutOfRange, 69},
        {"field 69 1e400", e1WithLine(69, "1e400"), ktv::Refusal::FieldOutOfRange, 69},
        {"field 138 256", e1WithLine(138, "256"), ktv::Refusal::FieldOutOfRange, 138},
        {"field 138 255.5 rounds to 256", e1WithLine(138, "255.5"), ktv::Refusal::FieldOutOfRange,
         138},
    };
    for (const Case& c : cases) {
        const ktv::ReadResult result = ktv::read(c.file);
        EXPECT_FALSE(result.record) << c.name;
        EXPECT_EQ(result.refusal, c.refusal) << c.name;
        EXPECT_EQ(result.line, c.line) << c.name;
    }
}

// Catches: band clamps missing or swapped between gain, Q and frequency, a comma or exponent
// not taken, blanks not allowed, and an underflow refused instead of read as 0.
TEST(KtvCodec, BandLinesAreReadAndBroughtIntoRange) {
    struct Case {
        int line; // 2 gain, 3 Q, 4 frequency of band 0
        const char* text;
        float value;
    };
    const Case cases[] = {
        {2, "20", 12.0f},
        {2, "-20", -12.0f},
        {2, "1e38", 12.0f},
        {2, " -3,5\t", -3.5f},
        {2, "+2", 2.0f},
        {2, "1,5E-1", 0.15f},
        {2, ".5", 0.5f},
        {2, "5.", 5.0f},
        {2, "1e-400", 0.0f},
        {2, "-0", 0.0f},
        {2, "1e1", 10.0f},
        {3, "0", 0.3f},
        {3, "16", 15.0f},
        {3, "0.35", 0.35f},
        {4, "5", 20.0f},
        {4, "30000", 20000.0f},
        {4, "1234,567", 1234.567f},
        {4, "2e4", 20000.0f},
    };
    // Beyond the range of double: an underflow reads as 0, wherever its digits stand.
    const QByteArray tinyFraction = "0." + QByteArray(400, '0') + "1e50";
    const QByteArray tinyInteger = "10000000000e-340";
    const QByteArray tinyExponent = "1e-99999999999";
    const QByteArray tinyAfterZeros = QByteArray(400, '0') + "1e-330";
    for (const QByteArray& text : {tinyFraction, tinyInteger, tinyExponent, tinyAfterZeros}) {
        const ktv::ReadResult result = ktv::read(e1WithLine(2, text));
        ASSERT_TRUE(result.record) << text.toStdString();
        EXPECT_EQ(result.record->bands[0].dB, 0.0f) << text.toStdString();
    }
    for (const Case& c : cases) {
        const ktv::ReadResult result = ktv::read(e1WithLine(c.line, c.text));
        ASSERT_TRUE(result.record) << c.text;
        const Band& band = result.record->bands[0];
        const float got = c.line == 2 ? band.dB : (c.line == 3 ? band.Q : band.F);
        EXPECT_FLOAT_EQ(got, c.value) << "line " << c.line << " " << c.text;
    }
}

// Catches: slider and field lines read with the band rules (',' or whole-line), a word
// refusing the file, rounding that is not half to even, or an effect program above 7 (the
// unit may send any byte there, and a save writes it as it stands) refused.
TEST(KtvCodec, SliderAndFieldLinesTakeTheirLeadingNumber) {
    struct Case {
        int line;
        const char* text;
        int value;
    };
    const Case cases[] = {
        {32, "abc", 0},   {32, "OFF", 0},    {32, "4e1Hz", 40},
        {32, "4,5", 4},   {32, "2,6", 2},    {32, "2.5", 2},
        {32, "3.5", 4},   {32, " 7Hz", 7},   {32, "-3", -3},
        {46, "71.4", 71}, {46, "word", 0},   {46, "254.5", 254},
        {69, "2,6", 2},   {69, "-0.4", 0},   {138, "7.5", 8},
        {138, "8", 8},    {138, "255", 255}, {32, "1e400", 1000000000},
    };
    // Past the range of double, a slider line saturates by its sign and a zero stays zero.
    const QByteArray huge = QByteArray(400, '0') + "9" + QByteArray(400, '0');
    const QByteArray hugeNegative = "-1" + QByteArray(400, '0') + ".5";
    const QByteArray hugeFraction = "0." + QByteArray(300, '0') + "1e700";
    const std::pair<QByteArray, int> longCases[] = {
        {huge, 1000000000},
        {hugeNegative, -1000000000},
        {hugeFraction, 1000000000},
        {"0.000e99999999999", 0},
        {"8e", 8},
    };
    for (const auto& [text, value] : longCases) {
        const ktv::ReadResult result = ktv::read(e1WithLine(32, text));
        ASSERT_TRUE(result.record) << text.toStdString();
        EXPECT_EQ(result.record->sliders[0], value) << text.toStdString();
    }
    for (const Case& c : cases) {
        const ktv::ReadResult result = ktv::read(e1WithLine(c.line, c.text));
        ASSERT_TRUE(result.record) << c.line << " " << c.text;
        const int got = c.line == 32   ? result.record->sliders[0]
                        : c.line == 46 ? result.record->fields[0]
                        : c.line == 69 ? result.record->fields[1]
                                       : result.record->fields[2];
        EXPECT_EQ(got, c.value) << "line " << c.line << " " << c.text;
    }
}

// Catches: LF taken as a line end, CR-only files refused, a last line without its CR LF
// dropped, or lines after 170 read or counted against the file.
TEST(KtvCodec, LinesEndAtCarriageReturn) {
    const QByteArray golden = goldenFile("e1.ktv");
    QByteArray crOnly = golden;
    crOnly.replace("\r\n", "\r");
    QByteArray noFinalEnd = golden;
    noFinalEnd.chop(2);
    const QByteArray trailing = golden + "garbage\r\n1e99\r\n\r\n";
    for (const QByteArray& file : {crOnly, noFinalEnd, trailing}) {
        const ktv::ReadResult result = ktv::read(file);
        ASSERT_TRUE(result.record);
        expectSameRecord(*result.record, e1Record());
    }
}
