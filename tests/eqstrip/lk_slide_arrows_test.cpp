// The Q step arrows on a real 200 ms timer: steps counted from the press, the limits, and
// every way a repeat must end.
#include "strip_helpers.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvanex;
using korvanex::test::lastFloat;

namespace {

class LkSlideArrows : public ::testing::Test {
protected:
    LkSlideArrows() { strip.setVal(1000.0f, 0.0f, 1.0f); }

    void press(QWidget* arrow) { QTest::mousePress(arrow, Qt::LeftButton, {}, QPoint(5, 10)); }
    void release(QWidget* arrow) { QTest::mouseRelease(arrow, Qt::LeftButton, {}, QPoint(5, 10)); }
    // Waits for the repeat to end, then long enough for a wrong extra step to show.
    void settle() {
        for (int i = 0; i < 60 && strip.qRepeating(); ++i) {
            QTest::qWait(50);
        }
        QTest::qWait(250);
    }

    LkSlide strip;
    QSignalSpy q{&strip, &LkSlide::QChanged};
};

} // namespace

// Catches: a quick click that steps at once, twice, or not at all (autoRepeat-style buttons
// step on release or not until the repeat delay).
TEST_F(LkSlideArrows, QuickClickGivesOneStepAfter200ms) {
    QElapsedTimer clock;
    clock.start();
    press(strip.qUpArrow());
    release(strip.qUpArrow());
    EXPECT_EQ(q.count(), 0);
    ASSERT_TRUE(q.wait(1000));
    EXPECT_GE(clock.elapsed(), 199);
    settle();
    EXPECT_EQ(q.count(), 1);
    EXPECT_FLOAT_EQ(strip.Q(), 1.1f);
    EXPECT_EQ(strip.qBox()->text(), "1.1");
    EXPECT_FALSE(strip.qRepeating());
}

// Catches: a repeat that stops at the release instead of after the step then due (a hold
// of t ms gives ceil(t / 200) steps), or never stops.
TEST_F(LkSlideArrows, HoldStepsUntilStepAfterRelease) {
    press(strip.qDownArrow());
    while (q.count() < 2) {
        ASSERT_TRUE(q.wait(1000));
    }
    release(strip.qDownArrow());
    EXPECT_TRUE(strip.qRepeating());
    ASSERT_TRUE(q.wait(1000));
    settle();
    EXPECT_EQ(q.count(), 3);
    EXPECT_FLOAT_EQ(strip.Q(), 0.7f);
    EXPECT_FALSE(strip.qRepeating());
}

// Catches: the repeat ending when the held pointer slides off the arrow (the arrow's
// released() on leaving is not a mouse release), or a second repeat when it comes back.
TEST_F(LkSlideArrows, HeldArrowStepsOnWhilePointerIsOffIt) {
    QWidget* arrow = strip.qUpArrow();
    press(arrow);
    QTest::mouseMove(arrow, QPoint(-30, 10)); // the button stays down
    while (q.count() < 3) {
        ASSERT_TRUE(q.wait(1000)) << "stopped after " << q.count() << " steps";
    }
    QTest::mouseMove(arrow, QPoint(5, 10));
    ASSERT_TRUE(q.wait(1000));
    QTest::mouseMove(arrow, QPoint(60, 10));
    ASSERT_TRUE(q.wait(1000));
    EXPECT_TRUE(strip.qRepeating());
    release(arrow);
    ASSERT_TRUE(q.wait(1000));
    settle();
    EXPECT_EQ(q.count(), 6);
    EXPECT_FLOAT_EQ(strip.Q(), 1.6f);
}

// Catches: the stored Q taken past its limits, or the signal carrying the box's value.
TEST_F(LkSlideArrows, LimitsHoldStoredQWhileBoxShowsOneStepPast) {
    strip.setQ(0.4f);
    press(strip.qDownArrow());
    ASSERT_TRUE(q.wait(1000));
    EXPECT_EQ(strip.qBox()->text(), "0.3");
    ASSERT_TRUE(q.wait(1000));
    release(strip.qDownArrow());
    EXPECT_EQ(strip.qBox()->text(), "0.2");
    EXPECT_FLOAT_EQ(strip.Q(), 0.3f);
    EXPECT_FLOAT_EQ(lastFloat(q), 0.3f);
    settle();

    strip.setQ(15.0f);
    q.clear();
    press(strip.qUpArrow());
    release(strip.qUpArrow());
    ASSERT_TRUE(q.wait(1000));
    EXPECT_EQ(strip.qBox()->text(), "15.1");
    EXPECT_FLOAT_EQ(lastFloat(q), 15.0f);
}

// Catches: a second arrow pressed during a repeat starting a parallel one.
TEST_F(LkSlideArrows, SecondPressDuringRepeatIsIgnored) {
    press(strip.qUpArrow());
    press(strip.qDownArrow());
    release(strip.qDownArrow());
    ASSERT_TRUE(q.wait(1000));
    settle();
    EXPECT_EQ(q.count(), 1);
    EXPECT_FLOAT_EQ(strip.Q(), 1.1f);
}

// Catches: a repeat that runs on forever when its release lands elsewhere or never comes
// because the window lost the mouse, the strip was disabled, hidden or its Q controls
// switched off; and a repeat ended by another window going inactive.
TEST_F(LkSlideArrows, RepeatEndsOnReleaseElsewhereDisableHide) {
    QWidget elsewhere;
    press(strip.qUpArrow());
    QTest::mouseRelease(&elsewhere, Qt::LeftButton);
    ASSERT_TRUE(q.wait(1000));
    settle();
    EXPECT_EQ(q.count(), 1);

    QEvent deactivate(QEvent::WindowDeactivate);
    q.clear();
    press(strip.qUpArrow());
    QApplication::sendEvent(&elsewhere, &deactivate);
    ASSERT_TRUE(q.wait(1000));
    ASSERT_TRUE(q.wait(1000));
    QApplication::sendEvent(&strip, &deactivate); // ends it after the step then due
    ASSERT_TRUE(q.wait(1000));
    settle();
    EXPECT_EQ(q.count(), 3);

    const auto stopsAtOnce = [&](const std::function<void()>& interrupt) {
        q.clear();
        press(strip.qUpArrow());
        interrupt();
        EXPECT_FALSE(strip.qRepeating());
        settle();
        EXPECT_EQ(q.count(), 0);
    };
    stopsAtOnce([&] { strip.setEnabled(false); });
    strip.setEnabled(true);
    stopsAtOnce([&] { strip.setQEnabled(false); });
    strip.setQEnabled(true);
    strip.show();
    stopsAtOnce([&] { strip.hide(); });
}

// Catches: a key on the knob acting during a Q repeat (the knob's keys wait it out), or the
// keys after a press beside the knob being blocked too (those are not held back).
TEST_F(LkSlideArrows, KnobKeysWaitOutRepeatKeysBesideKnobDoNot) {
    QSignalSpy gain(&strip, &LkSlide::DBChanged);
    QWidget* track = strip.knobTrack();
    const QPointF knob = korvanex::test::knobCentre(strip);
    QTest::mouseClick(track, Qt::RightButton, {}, knob.toPoint()); // focus on the knob
    press(strip.qUpArrow());
    QTest::keyClick(track, Qt::Key_Up);
    EXPECT_EQ(gain.count(), 0);
    release(strip.qUpArrow());
    settle();
    QTest::keyClick(track, Qt::Key_Up);
    EXPECT_EQ(gain.count(), 1);

    QTest::mouseClick(track, Qt::LeftButton, {}, QPoint(3, 3)); // beside the knob
    press(strip.qUpArrow());
    QTest::keyClick(track, Qt::Key_Up);
    EXPECT_EQ(gain.count(), 2);
    release(strip.qUpArrow());
    settle();
}
