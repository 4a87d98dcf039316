// Values set from code: shown in the boxes and by the knob, and never signalled (the host
// echoes every edit back through these setters, so a signal here would loop).
#include "core/prompter.h"
#include "strip_helpers.h"

#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <clocale>
#include <functional>
#include <gtest/gtest.h>

using namespace korvanex;

namespace {

struct Spies {
    explicit Spies(LkSlide& s)
        : db(&s, &LkSlide::DBChanged), f(&s, &LkSlide::FChanged), q(&s, &LkSlide::QChanged),
          t(&s, &LkSlide::TChanged), bypass(&s, &LkSlide::EQBYPASS) {}
    int total() const { return db.count() + f.count() + q.count() + t.count() + bypass.count(); }
    QSignalSpy db, f, q, t, bypass;
};

} // namespace

// Catches: a setter that signals, which makes the host's echo loop forever.
TEST(LkSlideSetters, NoSetterRaisesAnySignal) {
    LkSlide strip;
    Spies spies(strip);
    strip.setVal(1000.0f, 3.3f, 2.0f);
    strip.setDb(-4.0f);
    strip.setF(250.0f);
    strip.setQ(0.7f);
    strip.setQEnabled(false);
    strip.setFEnabled(false);
    strip.setQEnabled(true);
    strip.setBand(Band{500.0f, 1.0f, 2.0f});
    EXPECT_EQ(spies.total(), 0);
}

// Catches: setVal arguments taken in the graph's order, the gain box without its unit,
// the knob placed in rounded pixels, the Q box without its decimal.
TEST(LkSlideSetters, SetValShowsBandInOrderFrequencyGainQ) {
    LkSlide strip;
    strip.setVal(1000.0f, 3.3f, 2.0f);
    EXPECT_FLOAT_EQ(strip.F(), 1000.0f);
    EXPECT_FLOAT_EQ(strip.db(), 3.3f);
    EXPECT_FLOAT_EQ(strip.Q(), 2.0f);
    EXPECT_EQ(strip.gainBox()->text(), "3.3dB");
    EXPECT_EQ(strip.freqBox()->text(), "1000Hz");
    EXPECT_EQ(strip.qBox()->text(), "2.0");
    EXPECT_NEAR(strip.knobTop(), 522.0, 1e-3);
}

// Catches: the frequency setter writing "Hz" (only setVal does), the gain setter not
// placing the knob, and halves rounded to even instead of away from zero in the texts.
TEST(LkSlideSetters, SingleSettersWriteTheirOwnFormats) {
    LkSlide strip;
    strip.setF(1000.0f);
    EXPECT_EQ(strip.freqBox()->text(), "1000");
    strip.setF(20.5f);
    EXPECT_EQ(strip.freqBox()->text(), "21");
    strip.setDb(0.0f);
    EXPECT_EQ(strip.gainBox()->text(), "0.0dB");
    EXPECT_DOUBLE_EQ(strip.knobTop(), 720.0);
    strip.setDb(-0.25f);
    EXPECT_EQ(strip.gainBox()->text(), "-0.3dB");
    strip.setQ(1.25f);
    EXPECT_EQ(strip.qBox()->text(), "1.3");
}

// Catches: a new strip showing anything but its design texts before the host's first band.
TEST(LkSlideSetters, NewStripShowsDesignTexts) {
    LkSlide strip;
    EXPECT_EQ(strip.gainBox()->text(), "0");
    EXPECT_EQ(strip.freqBox()->text(), "20");
    EXPECT_EQ(strip.qBox()->text(), "1.0");
    EXPECT_TRUE(strip.QEnabled());
    EXPECT_TRUE(strip.FEnabled());
    EXPECT_EQ(strip.size(), QSize(65, 201));
}

// Catches: texts written with the locale's comma, which the strip could not read back.
TEST(LkSlideSetters, TextsUseFullStopUnderCommaLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    LkSlide strip;
    strip.setVal(1234.0f, -2.5f, 0.7f);
    EXPECT_EQ(strip.gainBox()->text(), "-2.5dB");
    EXPECT_EQ(strip.freqBox()->text(), "1234Hz");
    EXPECT_EQ(strip.qBox()->text(), "0.7");
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(saved);
}

// Catches: a type outside 0..2 stored or signalled, a valid one not signalled, and the
// invalid-value box missing or in the wrong words.
TEST(LkSlideSetters, TypeSetterValidatesAndSignals) {
    LkSlide strip;
    RecordingPrompter prompter;
    strip.setPrompter(&prompter);
    QSignalSpy spy(&strip, &LkSlide::TChanged);
    strip.setT(2);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.last().at(0).toInt(), 2);
    EXPECT_TRUE(prompter.boxes.empty());

    strip.setT(3);
    strip.setT(-1);
    EXPECT_EQ(strip.T(), 2);
    EXPECT_EQ(spy.count(), 1);
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[0].text, "无效属性值");
    EXPECT_EQ(prompter.boxes[0].title, "错误");
    EXPECT_EQ(prompter.boxes[0].icon, BoxIcon::Critical);
}

// Catches: flags that do not reach the controls, or that grey out the gain controls too.
TEST(LkSlideSetters, EnableFlagsSwitchOnlyTheirControls) {
    LkSlide strip;
    strip.setQEnabled(false);
    EXPECT_FALSE(strip.QEnabled());
    EXPECT_FALSE(strip.qBox()->isEnabled());
    EXPECT_FALSE(strip.qDownArrow()->isEnabled());
    EXPECT_FALSE(strip.qUpArrow()->isEnabled());
    EXPECT_TRUE(strip.freqBox()->isEnabled());

    strip.setFEnabled(false);
    EXPECT_FALSE(strip.FEnabled());
    EXPECT_FALSE(strip.freqBox()->isEnabled());
    EXPECT_TRUE(strip.gainBox()->isEnabled());
    EXPECT_TRUE(strip.knobTrack()->isEnabled());

    strip.setQEnabled(true);
    EXPECT_TRUE(strip.qBox()->isEnabled());
    EXPECT_TRUE(strip.qUpArrow()->isEnabled());
    EXPECT_FALSE(strip.freqBox()->isEnabled());
}

// Catches: a click on a greyed Q or frequency box (graphic equaliser mode) still re-sending
// the band, a greyed arrow starting a repeat, and the gain controls greyed along with them.
TEST(LkSlideSetters, GreyedControlsRaiseNothingGainControlsStillWork) {
    const auto click = [](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); };
    const struct {
        const char* what;
        std::function<void(LkSlide&)> act;
        int gainSignals;
    } cases[] = {
        {"Q box click", [&](LkSlide& s) { click(s.qBox()); }, 0},
        {"frequency box click", [&](LkSlide& s) { click(s.freqBox()); }, 0},
        {"Q- arrow click", [&](LkSlide& s) { click(s.qDownArrow()); }, 0},
        {"Q+ arrow click", [&](LkSlide& s) { click(s.qUpArrow()); }, 0},
        {"gain box click", [&](LkSlide& s) { click(s.gainBox()); }, 1},
        {"gain box Enter", [](LkSlide& s) { korvanex::test::enterText(s.gainBox(), "4"); }, 1},
        {"knob key", [](LkSlide& s) { QTest::keyClick(s.knobTrack(), Qt::Key_Up); }, 1},
        {"knob click",
         [](LkSlide& s) {
             QTest::mouseClick(s.knobTrack(), Qt::LeftButton, {},
                               korvanex::test::knobCentre(s).toPoint());
         },
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LkSlide strip;
        strip.setVal(1000.0f, 2.0f, 1.4f);
        strip.setQEnabled(false);
        strip.setFEnabled(false);
        Spies spies(strip);
        c.act(strip);
        EXPECT_FALSE(strip.qRepeating());
        EXPECT_EQ(spies.db.count(), c.gainSignals);
        EXPECT_EQ(spies.total(), c.gainSignals);
    }
}

// Catches: controls a screen reader cannot name, or that cannot tell the bands apart.
TEST(LkSlideSetters, AccessibleNamesCarryTheBandNumber) {
    LkSlide strip;
    EXPECT_EQ(strip.gainBox()->accessibleName(), "增益");
    EXPECT_EQ(strip.qDownArrow()->accessibleName(), "Q−");
    strip.setBandNumber(3);
    for (QWidget* w : {static_cast<QWidget*>(strip.gainBox()), strip.knobTrack(),
                       static_cast<QWidget*>(strip.freqBox()), static_cast<QWidget*>(strip.qBox()),
                       strip.qDownArrow(), strip.qUpArrow()}) {
        EXPECT_TRUE(w->accessibleName().contains("3")) << w->accessibleName().toStdString();
    }
    EXPECT_NE(strip.qDownArrow()->accessibleName(), strip.qUpArrow()->accessibleName());
}
