// The reverb times `Text8(4..6)` in the system's decimal point, from every writer; every other
// number the window writes keeps '.'. ctest runs this once more under a German locale
// (KORVANEX_EXPECT_POINT=",").

#include "app/form_helpers.h"
#include "controls/ct_slide.h"
#include "controls/text_box.h"
#include "eqstrip/lk_slide.h"
#include "pages/page_set.h"
#include "pages/readouts.h"
#include "presets/page_record.h"

#include <QLineEdit>
#include <QLocale>
#include <QSlider>
#include <gtest/gtest.h>

using namespace korvanex;
using korvanex::testing::FormHarness;

namespace {

QString seconds(const char* text, QChar point) {
    return QString::fromLatin1(text).replace(u'.', point);
}

} // namespace

// Catches the locale's own point taken as it comes (an Arabic '٫' in a read-out), ',' missed
// where a locale writes it, or '.' replaced where it should stay.
TEST(ReverbTime, DecimalPointOfALocale) {
    struct Case {
        QLocale locale;
        QChar point;
    };
    const std::vector<Case> cases{
        {QLocale(QLocale::German, QLocale::Germany), u','},
        {QLocale(QLocale::French, QLocale::France), u','},
        {QLocale(QLocale::German, QLocale::Switzerland), u'.'},
        {QLocale(QLocale::English, QLocale::UnitedStates), u'.'},
        {QLocale(QLocale::Chinese, QLocale::China), u'.'},
        {QLocale(QLocale::Arabic, QLocale::Egypt), u'.'},
        {QLocale::c(), u'.'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(timeDecimalPoint(c.locale), c.point) << c.locale.name().toStdString();
}

// Catches a wrong scale, decimals or unit, and a point that does not follow the one given.
TEST(ReverbTime, TenthsOfASecondWithOneDecimal) {
    struct Case {
        int value;
        QChar point;
        const char* text;
    };
    const std::vector<Case> cases{{0, u'.', "0.0s"},  {50, u'.', "5.0s"}, {7, u'.', "0.7s"},
                                  {60, u',', "6,0s"}, {45, u',', "4,5s"}, {0, u',', "0,0s"}};
    for (const Case& c : cases)
        EXPECT_EQ(TenthsSecondsText(c.value, c.point), QString::fromLatin1(c.text)) << c.value;
}

// Catches a writer of the reverb times that formats them itself (a user's move, the effect
// block of a connection, a file load), and a read-out that is read back by its number taking
// the system's point (kHz, strip boxes) instead of '.'.
TEST(ReverbTime, EveryWriterUsesTheSystemsPointAndOnlyThere) {
    const QChar point = systemTimeDecimalPoint();
    const QString expected = qEnvironmentVariable("KORVANEX_EXPECT_POINT");
    if (!expected.isEmpty()) {
        ASSERT_EQ(QString(point), expected);
    }
    FormHarness h;
    PageSet& p = h.form->pageSet();
    EXPECT_EQ(p.Text8[4]->Text(), TenthsSecondsText(50, point)) << "at design";

    // A connection's effect block (all zeros from the simulated unit).
    h.connect();
    ASSERT_TRUE(h.form->engine().LinkUp());
    for (std::size_t i : {4u, 5u, 6u})
        EXPECT_EQ(p.Text8[i]->Text(), seconds("0.0s", point)) << "block, Text8(" << i << ")";

    // The user's moves.
    const std::vector<std::pair<std::size_t, int>> moves{{4, 33}, {5, 60}, {6, 7}};
    for (const auto& [i, v] : moves)
        p.ctSlide7[i]->slider()->setValue(v);
    EXPECT_EQ(p.Text8[4]->Text(), seconds("3.3s", point));
    EXPECT_EQ(p.Text8[5]->Text(), seconds("6.0s", point));
    EXPECT_EQ(p.Text8[6]->Text(), seconds("0.7s", point));

    // A file load: the record of these values, applied over other ones.
    const ktv::ParameterRecord record = gatherRecord(p);
    for (std::size_t i : {4u, 5u, 6u}) {
        p.ctSlide7[i]->setValue(12);
        p.Text8[i]->setText(QString());
    }
    applyRecord(p, record);
    EXPECT_EQ(p.Text8[4]->Text(), seconds("3.3s", point));
    EXPECT_EQ(p.Text8[5]->Text(), seconds("6.0s", point));
    EXPECT_EQ(p.Text8[6]->Text(), seconds("0.7s", point));

    // Numbers read back keep '.'.
    p.ctSlide3->slider()->setValue(455);
    EXPECT_EQ(p.Text3->Text(), QStringLiteral("4.55KHz"));
    p.ctSlide5->slider()->setValue(1001);
    EXPECT_EQ(p.Text6->Text(), QStringLiteral("10.01KHz"));
    for (const QLineEdit* box : {p.LkSlide1[0]->gainBox(), p.LkSlide1[0]->qBox()}) {
        EXPECT_TRUE(box->text().contains(u'.')) << box->text().toStdString();
        EXPECT_FALSE(box->text().contains(u',')) << box->text().toStdString();
    }
}
