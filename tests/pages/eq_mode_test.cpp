#include "core/messages.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "pages/block_fixture.h"
#include "pages/eq_mode.h"
#include "pages/eq_panel.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::block_samples;

namespace {

// Every strip of every equaliser: frequency/Q editing as expected, gain always free.
void expectEditing(PageSet& p, bool parametric) {
    int strips = 0;
    for (int n = 1; n <= 7; ++n) {
        EqPanel& panel = p.eq(n);
        for (LkSlide* s : panel.strips) {
            EXPECT_EQ(s->QEnabled(), parametric) << "EQ" << n;
            EXPECT_EQ(s->FEnabled(), parametric) << "EQ" << n;
            EXPECT_EQ(s->qBox()->isEnabledTo(s), parametric) << "EQ" << n;
            EXPECT_EQ(s->freqBox()->isEnabledTo(s), parametric) << "EQ" << n;
            EXPECT_TRUE(s->gainBox()->isEnabledTo(s)) << "EQ" << n;
            EXPECT_TRUE(s->knobTrack()->isEnabledTo(s)) << "EQ" << n;
            EXPECT_TRUE(s->isEnabled()) << "EQ" << n;
            ++strips;
        }
        EXPECT_EQ(panel.graph->graphEnabled(), parametric) << "EQline" << n;
    }
    EXPECT_EQ(strips, 3 * 10 + 4 * 3);
}

} // namespace

// Catches: a strip or graph left out of the switch (the design state has them mixed), and the
// gain box or knob locked along with frequency and Q.
TEST(EqModeSwitch, GraphicLocksFrequencyQAndDraggingParametricFreesThem) {
    LinkedPages f;
    PageSet& p = *f.pages;
    tushieq(p, f.prompter);
    expectEditing(p, false);
    canliangeq(p, f.prompter);
    expectEditing(p, true);
    ASSERT_EQ(f.prompter.boxes.size(), 2u);
    EXPECT_EQ(f.prompter.boxes[0].text, QString::fromUtf8(msg::kEqModeGraphic));
    EXPECT_EQ(f.prompter.boxes[1].text, QString::fromUtf8(msg::kEqModeParametric));
    for (const auto& box : f.prompter.boxes) {
        EXPECT_EQ(box.icon, BoxIcon::Information);
        EXPECT_EQ(box.title, QString::fromUtf8(msg::kWindowCaption));
    }
}

// Catches: the switch applied after its box (the user would see the old mode under the box).
TEST(EqModeSwitch, ModeIsSetBeforeTheBoxOpens) {
    LinkedPages f;
    bool lockedUnderBox = false;
    f.prompter.onBox = [&](const RecordingPrompter::Box&) {
        lockedUnderBox = !f.pages->LkSlide6[2]->QEnabled() && !f.pages->EQline7->graphEnabled();
    };
    tushieq(*f.pages, f.prompter);
    EXPECT_TRUE(lockedUnderBox);
}

// Catches: graphic mode blocking the gain road (strip -> graph -> echo -> request) along with
// frequency and Q.
TEST(EqModeSwitch, GraphicModeStillSendsGainChanges) {
    LinkedPages f;
    PageSet& p = *f.pages;
    tushieq(p, f.prompter);
    f.setLinkUp(true);
    f.engine->DeviceReady = true;
    emit p.LkSlide1[3]->DBChanged(4.5f);
    EXPECT_FLOAT_EQ(p.EQline1->band(3).dB, 4.5f);
    EXPECT_EQ(f.engine->StepIndex, 3);
    EXPECT_EQ(f.engine->PendingStep, 2);
    EXPECT_TRUE(f.engine->Timer2().Enabled());
}

// Catches: a locked graph that still lets the user drag a band marker (and, as the control
// case, a parametric graph that refuses it).
TEST(EqModeSwitch, LockedGraphRefusesDragging) {
    LinkedPages f;
    PageSet& p = *f.pages;
    EQline* g = p.EQline1;
    g->resize(1033, 305);
    const auto drag = [g] {
        g->setVal(5, 1000.0f, 0.0f, 1.0f);
        EXPECT_TRUE(g->markerVisible(5));
        const QPoint at = g->markerRect(5).center().toPoint();
        QTest::mousePress(g, Qt::LeftButton, {}, at);
        QTest::mouseMove(g, at + QPoint(40, -30));
        QTest::mouseRelease(g, Qt::LeftButton, {}, at + QPoint(40, -30));
        return g->band(5);
    };
    canliangeq(p, f.prompter);
    const Band moved = drag();
    EXPECT_NE(moved.F, 1000.0f);
    EXPECT_NE(moved.dB, 0.0f);
    tushieq(p, f.prompter);
    const Band held = drag();
    EXPECT_FLOAT_EQ(held.F, 1000.0f);
    EXPECT_FLOAT_EQ(held.dB, 0.0f);
}

// Catches: a second system block (a later connection) showing no box, or two.
TEST(EqModeSwitch, RepeatedSystemBlockShowsTheBoxAgain) {
    LinkedPages f;
    f.applyAll();
    f.prompter.boxes.clear();
    f.appliers->set_Data();
    ASSERT_EQ(f.prompter.boxes.size(), 1u);
    EXPECT_EQ(f.prompter.boxes[0].text, QString::fromUtf8(msg::kEqModeParametric));
}

// Catches: the mode box missing from a real connection, or coming after "设备连接完成!"
// (the connection would be complete before the user was told the mode).
TEST(EqModeSwitch, ConnectionShowsModeBoxBeforeCompletion) {
    LinkedPages f;
    f.connectWithSamples();
    ASSERT_EQ(f.prompter.boxes.size(), 2u);
    EXPECT_EQ(f.prompter.boxes[0].text, QString::fromUtf8(msg::kEqModeParametric));
    EXPECT_EQ(f.prompter.boxes[1].text, QString::fromUtf8(msg::kConnectDone));
    EXPECT_TRUE(f.engine->DeviceReady);
    EXPECT_TRUE(f.engine->LinkUp());
    // The pages were filled on the way, and nothing but the reads was sent.
    EXPECT_FLOAT_EQ(f.pages->LkSlide7[9]->F(), 15450.0f);
    EXPECT_EQ(f.engine->PendingStep, 52);
}
