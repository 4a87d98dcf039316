// The three entry boxes: Enter only, strict numbers, limits, the gain grid, and a click that
// re-sends the stored value.
#include "strip_helpers.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <clocale>
#include <gtest/gtest.h>

using namespace korvanex;
using korvanex::test::enterText;
using korvanex::test::lastFloat;

namespace {

class LkSlideBoxes : public ::testing::Test {
protected:
    LkSlideBoxes() { strip.setVal(1000.0f, 2.0f, 1.4f); }
    LkSlide strip;
    QSignalSpy db{&strip, &LkSlide::DBChanged};
    QSignalSpy f{&strip, &LkSlide::FChanged};
    QSignalSpy q{&strip, &LkSlide::QChanged};
};

struct Entry {
    const char* typed;
    const char* shown; // the box afterwards
    float stored;      // the band value afterwards
    bool signalled;
};

} // namespace

// Catches: odd tenths kept, corrected toward zero for cuts, a half rounded away from zero
// (3.25 must stay), limits rejected or overshoot accepted, and a restore that signals.
TEST_F(LkSlideBoxes, GainEnterKeepsGridAndLimits) {
    const Entry cases[] = {
        {"3.3", "3.2", 3.2f, true},   {"-3.3", "-3.4", -3.4f, true}, {"12", "12", 12.0f, true},
        {"-12", "-12", -12.0f, true}, {"3.25", "3.25", 3.25f, true}, {"0.1", "0", 0.0f, true},
        {"12.1", "0.0", 0.0f, false}, {"-12.5", "0.0", 0.0f, false}, {"3.0dB", "0.0", 0.0f, false},
        {"abc", "0.0", 0.0f, false},
    };
    for (const Entry& c : cases) {
        strip.setDb(0.0f);
        db.clear();
        enterText(strip.gainBox(), c.typed);
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(strip.gainBox()->text(), c.shown);
        EXPECT_FLOAT_EQ(strip.db(), c.stored);
        EXPECT_EQ(db.count(), c.signalled ? 1 : 0);
        if (c.signalled) {
            EXPECT_FLOAT_EQ(lastFloat(db), c.stored);
        }
    }
}

// Catches: Q limits off by one step, Q rounded on entry, and units accepted as numbers.
TEST_F(LkSlideBoxes, QEnterAcceptsLimitsAsTyped) {
    const Entry cases[] = {
        {"0.3", "0.3", 0.3f, true},   {"15", "15", 15.0f, true},     {"2.35", "2.35", 2.35f, true},
        {"0.25", "1.4", 1.4f, false}, {"15.01", "1.4", 1.4f, false}, {"", "1.4", 1.4f, false},
    };
    for (const Entry& c : cases) {
        strip.setQ(1.4f);
        q.clear();
        enterText(strip.qBox(), c.typed);
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(strip.qBox()->text(), c.shown);
        EXPECT_FLOAT_EQ(strip.Q(), c.stored);
        EXPECT_EQ(q.count(), c.signalled ? 1 : 0);
    }
}

// Catches: frequency limits off, and a box still showing "Hz" taken as its number.
TEST_F(LkSlideBoxes, FrequencyEnterAcceptsLimitsRestoresBareValue) {
    const Entry cases[] = {
        {"20", "20", 20.0f, true},          {"20000", "20000", 20000.0f, true},
        {"19.9", "1000", 1000.0f, false},   {"20001", "1000", 1000.0f, false},
        {"1000Hz", "1000", 1000.0f, false},
    };
    for (const Entry& c : cases) {
        strip.setF(1000.0f);
        f.clear();
        enterText(strip.freqBox(), c.typed);
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(strip.freqBox()->text(), c.shown);
        EXPECT_FLOAT_EQ(strip.F(), c.stored);
        EXPECT_EQ(f.count(), c.signalled ? 1 : 0);
    }
    // Enter on the untouched "1000Hz" written by setVal restores the bare number.
    strip.setVal(440.0f, 0.0f, 1.0f);
    QTest::keyClick(strip.freqBox(), Qt::Key_Return);
    EXPECT_EQ(strip.freqBox()->text(), "440");
    EXPECT_EQ(f.count(), 0);
}

// Catches: a parser that accepts "inf", "nan", hex or the locale's comma and group
// separators (strtod-style), which would let such texts become band values, and knob keys
// that read or write the gain box with the locale's comma.
TEST_F(LkSlideBoxes, StrictNumbersUnderCommaLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    for (const char* typed : {"inf", "nan", "-inf", "0x5", "2,5", "1.000,5", "1,000", " "}) {
        enterText(strip.qBox(), typed);
        enterText(strip.freqBox(), typed);
        enterText(strip.gainBox(), typed);
        SCOPED_TRACE(typed);
        EXPECT_EQ(strip.qBox()->text(), "1.4");
        EXPECT_EQ(strip.freqBox()->text(), "1000");
        EXPECT_EQ(strip.gainBox()->text(), "2.0");
    }
    EXPECT_EQ(q.count() + f.count() + db.count(), 0);
    enterText(strip.qBox(), "2.5");
    EXPECT_FLOAT_EQ(strip.Q(), 2.5f);
    enterText(strip.gainBox(), "-4.7");
    EXPECT_EQ(strip.gainBox()->text(), "-4.8");
    QTest::keyClick(strip.knobTrack(), Qt::Key_Up);
    EXPECT_EQ(strip.gainBox()->text(), "-4.6dB");
    EXPECT_FLOAT_EQ(lastFloat(db), -4.6f);
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(saved);
}

// Catches: boxes that take only the main Return key, not the keypad's Enter.
TEST_F(LkSlideBoxes, KeypadEnterActsAsEnter) {
    const struct {
        QLineEdit* box;
        QSignalSpy* spy;
        float typed;
    } cases[] = {
        {strip.gainBox(), &db, 4.0f}, {strip.freqBox(), &f, 400.0f}, {strip.qBox(), &q, 4.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        c.box->setText(QString::number(c.typed));
        QTest::keyClick(c.box, Qt::Key_Enter, Qt::KeypadModifier);
        ASSERT_EQ(c.spy->count(), 1);
        EXPECT_FLOAT_EQ(lastFloat(*c.spy), c.typed);
    }
}

// Catches: a gain accepted with a leading non-space blank (a pasted no-break space) but
// stored as 0, because the stored gain was read without the blank trimmed.
TEST_F(LkSlideBoxes, GainWithLeadingNoBreakSpaceStoresTypedValue) {
    strip.gainBox()->setText(QString(QChar(0x00A0)) + QStringLiteral("5.4"));
    QTest::keyClick(strip.gainBox(), Qt::Key_Return);
    EXPECT_FLOAT_EQ(strip.db(), 5.4f);
    ASSERT_EQ(db.count(), 1);
    EXPECT_FLOAT_EQ(lastFloat(db), 5.4f);
}

// Catches: boxes that act when the edit ends (focus leaves, editingFinished) instead of on
// Enter only.
TEST_F(LkSlideBoxes, TypingWithoutEnterChangesNothing) {
    strip.qBox()->clear();
    QTest::keyClicks(strip.qBox(), "5");
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(strip.qBox(), &out);
    emit strip.qBox()->editingFinished();
    EXPECT_FLOAT_EQ(strip.Q(), 1.4f);
    EXPECT_EQ(strip.qBox()->text(), "5");
    EXPECT_EQ(q.count(), 0);
}

// Catches: a click into a box that does not re-send the band, sends the box's text instead
// of the stored value, or fires for a right click.
TEST_F(LkSlideBoxes, LeftPressInBoxResendsStoredValue) {
    strip.qBox()->setText("9.9");
    QTest::mouseClick(strip.qBox(), Qt::LeftButton);
    QTest::mouseClick(strip.gainBox(), Qt::LeftButton);
    QTest::mouseClick(strip.freqBox(), Qt::LeftButton);
    QTest::mouseClick(strip.freqBox(), Qt::RightButton);
    ASSERT_EQ(q.count(), 1);
    EXPECT_FLOAT_EQ(lastFloat(q), 1.4f);
    ASSERT_EQ(db.count(), 1);
    EXPECT_FLOAT_EQ(lastFloat(db), 2.0f);
    EXPECT_EQ(f.count(), 1);
}
