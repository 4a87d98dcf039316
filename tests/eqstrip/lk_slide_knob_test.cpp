// The gain knob, the keys and the wheel: the gains they produce, the grid they keep and the
// signals they raise.
#include "strip_helpers.h"

#include <QAccessible>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace korvanex;
using korvanex::test::knobCentre;
using korvanex::test::lastFloat;
using korvanex::test::sendMouse;

namespace {

constexpr auto Press = QEvent::MouseButtonPress;
constexpr auto Move = QEvent::MouseMove;
constexpr auto Release = QEvent::MouseButtonRelease;

// Presses the knob on its centre line, drags it by dy pixels and lets go.
void dragKnob(LkSlide& strip, double dy) {
    QWidget* track = strip.knobTrack();
    const QPointF start = knobCentre(strip);
    sendMouse(track, Press, start, Qt::LeftButton, Qt::LeftButton);
    sendMouse(track, Move, start + QPointF(0, dy), Qt::NoButton, Qt::LeftButton);
    sendMouse(track, Release, start + QPointF(0, dy), Qt::LeftButton, Qt::NoButton);
}

void wheel(LkSlide& strip, int delta) {
    const QPointF pos(30, 100);
    QWheelEvent event(pos, strip.mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&strip, &event);
}

} // namespace

// Catches: a plain click that moves an on-grid gain (knob kept in rounded pixels), and a
// click that raises nothing.
TEST(LkSlideKnob, PlainClickRereadsGainFromKnob) {
    LkSlide strip;
    QSignalSpy spy(&strip, &LkSlide::DBChanged);
    for (float gain : {3.2f, -7.4f, 0.0f, 11.8f}) {
        strip.setVal(1000.0f, gain, 1.0f);
        dragKnob(strip, 0.0);
        EXPECT_FLOAT_EQ(strip.db(), gain);
        EXPECT_FLOAT_EQ(lastFloat(spy), gain);
    }
    // An odd tenth cannot come from the knob: a click puts 3.3 on the grid below.
    strip.setVal(1000.0f, 3.3f, 1.0f);
    dragKnob(strip, 0.0);
    EXPECT_FLOAT_EQ(strip.db(), 3.2f);
    EXPECT_EQ(strip.gainBox()->text(), "3.2dB");
}

// Catches: a missing limit at either end of the track, and the knob left off the track.
TEST(LkSlideKnob, DragBeyondTrackEndsGiveScaleEnds) {
    LkSlide strip;
    strip.setVal(1000.0f, 0.0f, 1.0f);
    dragKnob(strip, -200.0);
    EXPECT_FLOAT_EQ(strip.db(), 12.0f);
    EXPECT_EQ(strip.gainBox()->text(), "12.0dB");
    EXPECT_DOUBLE_EQ(strip.knobTop(), 0.0);
    dragKnob(strip, 300.0);
    EXPECT_FLOAT_EQ(strip.db(), -12.0f);
    EXPECT_EQ(strip.gainBox()->text(), "-12.0dB");
    EXPECT_DOUBLE_EQ(strip.knobTop(), 1440.0);
}

// Catches: the grab offset ignored, halves rounded away from zero, and the odd-tenth
// correction going toward zero for cuts (a `n % 2 == 1` test misses negative odd tenths).
TEST(LkSlideKnob, DragKeepsGrabOffsetAndEvenTenths) {
    LkSlide strip;
    strip.setVal(1000.0f, 12.0f, 1.0f);
    dragKnob(strip, 6.0); // top 90: 10.5 -> 10.4
    EXPECT_DOUBLE_EQ(strip.knobTop(), 90.0);
    EXPECT_FLOAT_EQ(strip.db(), 10.4f);

    strip.setVal(1000.0f, 0.0f, 1.0f);
    dragKnob(strip, 0.4); // top 726: -0.1 -> -0.2
    EXPECT_FLOAT_EQ(strip.db(), -0.2f);
    EXPECT_EQ(strip.gainBox()->text(), "-0.2dB");

    strip.setVal(1000.0f, 0.0f, 1.0f);
    dragKnob(strip, 1.0); // top 735: -0.25 rounds to the even -0.2
    EXPECT_FLOAT_EQ(strip.db(), -0.2f);
}

// Catches: a drag that goes on after the press was released or that ends on a right
// button, and moves counted when the press began beside the knob.
TEST(LkSlideKnob, OnlyLeftDragOrAltHoverSteps) {
    LkSlide strip;
    strip.setVal(1000.0f, 0.0f, 1.0f);
    QSignalSpy spy(&strip, &LkSlide::DBChanged);
    QWidget* track = strip.knobTrack();
    const QPointF centre = knobCentre(strip);

    // A press on the track beside the knob, then moving across it with the button down.
    sendMouse(track, Press, QPointF(5, 5), Qt::LeftButton, Qt::LeftButton);
    sendMouse(track, Move, centre, Qt::NoButton, Qt::LeftButton);
    sendMouse(track, Release, centre, Qt::LeftButton, Qt::NoButton);
    // Hovering the knob without Alt, and with Alt plus Shift.
    sendMouse(track, Move, centre, Qt::NoButton, Qt::NoButton);
    sendMouse(track, Move, centre, Qt::NoButton, Qt::NoButton, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(spy.count(), 0);

    // Alt alone over the knob drags without a button (grab offset from the last press).
    sendMouse(track, Press, centre, Qt::LeftButton, Qt::LeftButton);
    sendMouse(track, Release, centre, Qt::LeftButton, Qt::NoButton);
    spy.clear();
    sendMouse(track, Move, centre + QPointF(0, 3), Qt::NoButton, Qt::NoButton, Qt::AltModifier);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_FLOAT_EQ(strip.db(), -0.8f);
}

// Catches: a right press that moves the gain or raises DBChanged instead of only the bypass.
TEST(LkSlideKnob, RightPressRaisesOnlyBypass) {
    LkSlide strip;
    strip.setVal(1000.0f, 3.3f, 1.0f);
    QSignalSpy gain(&strip, &LkSlide::DBChanged);
    QSignalSpy bypass(&strip, &LkSlide::EQBYPASS);
    QWidget* track = strip.knobTrack();
    const QPointF centre = knobCentre(strip);
    sendMouse(track, Press, centre, Qt::RightButton, Qt::RightButton);
    sendMouse(track, Move, centre + QPointF(0, 20), Qt::NoButton, Qt::RightButton);
    sendMouse(track, Release, centre + QPointF(0, 20), Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(bypass.count(), 1);
    EXPECT_EQ(gain.count(), 0);
    EXPECT_FLOAT_EQ(strip.db(), 3.3f);
    EXPECT_NEAR(strip.knobTop(), 522.0, 1e-3);
}

// Catches: key steps past the limits, a key at the limit that stays silent, and other keys
// that do not re-send the box's gain.
TEST(LkSlideKnob, KeysStepWithinScaleAndAlwaysSignal) {
    LkSlide strip;
    QSignalSpy spy(&strip, &LkSlide::DBChanged);
    QWidget* track = strip.knobTrack();

    strip.setVal(1000.0f, 11.9f, 1.0f);
    QTest::keyClick(track, Qt::Key_Up);
    EXPECT_EQ(strip.gainBox()->text(), "12.0dB");
    QTest::keyClick(track, Qt::Key_Up);
    EXPECT_EQ(strip.gainBox()->text(), "12.0dB");
    ASSERT_EQ(spy.count(), 2);
    EXPECT_FLOAT_EQ(lastFloat(spy), 12.0f);

    strip.setVal(1000.0f, -11.9f, 1.0f);
    QTest::keyClick(track, Qt::Key_Down);
    EXPECT_EQ(strip.gainBox()->text(), "-12.0dB");
    EXPECT_FLOAT_EQ(lastFloat(spy), -12.0f);

    strip.setVal(1000.0f, 3.3f, 1.0f);
    QTest::keyClick(track, Qt::Key_Down);
    EXPECT_FLOAT_EQ(lastFloat(spy), 3.1f);
    QTest::keyClick(track, Qt::Key_A);
    EXPECT_EQ(spy.count(), 5);
    EXPECT_FLOAT_EQ(lastFloat(spy), 3.1f);
    // The knob waits for the host's echo.
    EXPECT_NEAR(strip.knobTop(), 522.0, 1e-3);
}

// Catches: each wheel event taken as a notch (high-resolution wheels send small deltas),
// and the wheel direction reversed.
TEST(LkSlideKnob, WheelNotchesAccumulateToOneKeyStep) {
    LkSlide strip;
    strip.setVal(1000.0f, 0.0f, 1.0f);
    QSignalSpy spy(&strip, &LkSlide::DBChanged);
    wheel(strip, 40);
    wheel(strip, 40);
    EXPECT_EQ(spy.count(), 0);
    wheel(strip, 40);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_FLOAT_EQ(lastFloat(spy), 0.2f);
    wheel(strip, -240);
    EXPECT_EQ(spy.count(), 3);
    EXPECT_FLOAT_EQ(lastFloat(spy), -0.2f);
}

// Catches: Alt honoured only without a button (Alt alone drags whatever buttons are down),
// and Alt with Ctrl taken as Alt alone.
TEST(LkSlideKnob, AltAloneDragsWithAnyButtons) {
    LkSlide strip;
    strip.setVal(1000.0f, 0.0f, 1.0f);
    QSignalSpy gain(&strip, &LkSlide::DBChanged);
    QWidget* track = strip.knobTrack();
    const QPointF centre = knobCentre(strip);
    sendMouse(track, Press, centre, Qt::RightButton, Qt::RightButton);
    sendMouse(track, Move, centre + QPointF(0, 3), Qt::NoButton, Qt::RightButton,
              Qt::AltModifier | Qt::ControlModifier);
    EXPECT_EQ(gain.count(), 0);
    sendMouse(track, Move, centre + QPointF(0, 3), Qt::NoButton, Qt::RightButton, Qt::AltModifier);
    sendMouse(track, Release, centre + QPointF(0, 3), Qt::RightButton, Qt::NoButton);
    ASSERT_EQ(gain.count(), 1);
    EXPECT_FLOAT_EQ(strip.db(), -0.8f);
}

// Catches: the grab offset kept with a fraction of a twip (high-DPI pointers land between
// pixels): the drag must measure from the press point rounded to whole twips, half to even.
TEST(LkSlideKnob, GrabOffsetIsWholeTwips) {
    LkSlide strip;
    strip.setVal(1000.0f, 0.0f, 1.0f); // knob top 720 twips
    QSignalSpy gain(&strip, &LkSlide::DBChanged);
    QWidget* track = strip.knobTrack();
    // Press 157.5 twips into the knob (grab 158), move to 881 twips: top 723, gain 0.0.
    // An unrounded grab would give top 724 and -0.2.
    sendMouse(track, Press, QPointF(26.0, 877.5 / 15.0), Qt::LeftButton, Qt::LeftButton);
    sendMouse(track, Move, QPointF(26.0, 881.0 / 15.0), Qt::NoButton, Qt::LeftButton);
    sendMouse(track, Release, QPointF(26.0, 881.0 / 15.0), Qt::LeftButton, Qt::NoButton);
    EXPECT_NEAR(strip.knobTop(), 723.0, 1e-9);
    EXPECT_FLOAT_EQ(lastFloat(gain), 0.0f);
}

// Catches a knob that screen readers meet as a bare focusable container: it is a slider whose
// value, minimum and maximum are the gain in dB (a gain beyond the scale reported as the box
// shows it), whose value follows every change of the gain, and whose value set
// from outside does what the keys do: held to the scale, one decimal, DBChanged raised, the
// knob left for the host's echo; a set that is no number does nothing.
TEST(LkSlideKnob, AccessibleSliderValueIsTheGain) {
    LkSlide strip;
    strip.setBandNumber(3);
    QAccessibleInterface* knob = QAccessible::queryAccessibleInterface(strip.knobTrack());
    EXPECT_EQ(knob->role(), QAccessible::Slider);
    EXPECT_EQ(knob->text(QAccessible::Name), QStringLiteral("频段 3 增益滑块"));
    QAccessibleValueInterface* value = knob->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->minimumValue().toDouble(), -12.0);
    EXPECT_EQ(value->maximumValue().toDouble(), 12.0);

    struct Follow {
        const char* what;
        std::function<void()> act;
        double gain;
    };
    const std::vector<Follow> follows{
        {"set", [&] { strip.setVal(1000.0f, 3.3f, 1.0f); }, 3.3},
        {"key", [&] { QTest::keyClick(strip.knobTrack(), Qt::Key_Down); }, 3.1},
        {"set beyond the scale", [&] { strip.setDb(15.0f); }, 15.0},
        {"set to two decimals", [&] { strip.setDb(-11.96f); }, -12.0},
        {"drag",
         [&] {
             strip.setDb(12.0f);
             dragKnob(strip, 6.0);
         },
         10.4},
    };
    for (const Follow& f : follows) {
        f.act();
        EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), f.gain) << f.what;
    }

    struct Set {
        QVariant asked;
        std::optional<double> gain; // none: nothing happens
    };
    const std::vector<Set> sets{{5.0, 5.0},
                                {20.0, 12.0},
                                {-30.0, -12.0},
                                {3.25, 3.3},
                                {-0.04, 0.0},
                                {QStringLiteral("-6"), -6.0},
                                {QStringLiteral("loud"), {}},
                                {std::nan(""), {}}};
    for (const Set& c : sets) {
        strip.setVal(1000.0f, 1.0f, 1.0f);
        const double knobTop = strip.knobTop();
        QSignalSpy spy(&strip, &LkSlide::DBChanged);
        value->setCurrentValue(c.asked);
        const std::string what = c.asked.toString().toStdString();
        if (!c.gain) {
            EXPECT_EQ(spy.count(), 0) << what;
            EXPECT_FLOAT_EQ(strip.db(), 1.0f) << what;
            continue;
        }
        ASSERT_EQ(spy.count(), 1) << what;
        EXPECT_FLOAT_EQ(lastFloat(spy), float(*c.gain)) << what;
        EXPECT_FLOAT_EQ(strip.db(), float(*c.gain)) << what;
        EXPECT_DOUBLE_EQ(value->currentValue().toDouble(), *c.gain) << what;
        EXPECT_EQ(strip.knobTop(), knobTop) << what;
    }
}
