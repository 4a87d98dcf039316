#include "controls/colors.h"
#include "controls/dc_button.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "pages/block_fixture.h"
#include "pages/eq_coupling.h"
#include "pages/eq_panel.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using namespace korvanex;
using namespace korvanex::block_samples;

namespace {

struct Ready : LinkedPages {
    Ready() {
        setLinkUp(true);
        engine->DeviceReady = true;
        engine->PendingStep = 52;
    }
};

} // namespace

// Catches: a strip event not reaching the graph, the echo re-raising the strip's event (an
// endless round trip), and the echo missing (the strip would not show the graph's values).
TEST(EqCouplingEcho, StripEditReachesGraphAndTheEchoEnds) {
    LinkedPages f;
    PageSet& p = *f.pages;
    p.EQline5->setVal(1, 800.0f, 0.0f, 2.0f);
    QSignalSpy graphOut(p.EQline5, &EQline::PEQOUT);
    QSignalSpy stripDb(p.LkSlide5[1], &LkSlide::DBChanged);
    emit p.LkSlide5[1]->DBChanged(-4.0f);
    emit p.LkSlide5[1]->FChanged(1250.0f);
    emit p.LkSlide5[1]->QChanged(3.5f);
    EXPECT_EQ(graphOut.count(), 3);
    EXPECT_EQ(stripDb.count(), 1); // only the one raised here
    const Band g = p.EQline5->band(1);
    EXPECT_FLOAT_EQ(g.dB, -4.0f);
    EXPECT_FLOAT_EQ(g.F, 1250.0f);
    EXPECT_FLOAT_EQ(g.Q, 3.5f);
    EXPECT_FLOAT_EQ(p.LkSlide5[1]->F(), 1250.0f);
    EXPECT_EQ(p.LkSlide5[1]->freqBox()->text(), QStringLiteral("1250Hz"));
    EXPECT_EQ(f.engine->StepIndex, 1);
}

// Catches: a graph change (drag, setter) not written back into its own strip, or written into
// another equaliser's strip.
TEST(EqCouplingEcho, GraphChangesEchoIntoTheirOwnStrip) {
    LinkedPages f;
    PageSet& p = *f.pages;
    p.EQline2->setVal(7, 3100.0f, 5.5f, 4.2f);
    EXPECT_FLOAT_EQ(p.LkSlide2[7]->F(), 3100.0f);
    EXPECT_FLOAT_EQ(p.LkSlide2[7]->db(), 5.5f);
    EXPECT_FLOAT_EQ(p.LkSlide2[7]->Q(), 4.2f);
    EXPECT_NE(p.LkSlide7[7]->F(), 3100.0f);
    EXPECT_NE(p.LkSlide1[7]->F(), 3100.0f);
}

// Catches: a band request queued with the link down or while the unit is not ready, or not
// queued (with the wrong step or timer) when both hold.
TEST(EqCouplingRequests, BandStepQueuedOnlyWhenReadyAndLinked) {
    LinkedPages down;
    down.engine->DeviceReady = true;
    down.engine->PendingStep = 52;
    emit down.pages->LkSlide1[3]->DBChanged(2.0f);
    EXPECT_FLOAT_EQ(down.pages->EQline1->band(3).dB, 2.0f);
    EXPECT_EQ(down.engine->PendingStep, 52);
    EXPECT_EQ(down.engine->StepIndex, 3);
    EXPECT_FALSE(down.engine->Timer2().Enabled());

    Ready busy;
    busy.engine->DeviceReady = false;
    emit busy.pages->LkSlide1[3]->DBChanged(2.0f);
    EXPECT_EQ(busy.engine->PendingStep, 52);
    EXPECT_FALSE(busy.engine->Timer2().Enabled());

    Ready main;
    main.pages->EQline4->setDB(2, 1.0f);
    EXPECT_EQ(main.engine->StepIndex, 2);
    EXPECT_EQ(main.engine->PendingStep, 25);
    EXPECT_TRUE(main.engine->Timer2().Enabled());

    Ready sub;
    sub.pages->EQline6->setDB(2, 1.0f);
    EXPECT_EQ(sub.engine->PendingStep, 34);
    EXPECT_TRUE(sub.engine->Timer3().Enabled());
}

// Catches: wrong band steps in the table for any equaliser.
TEST(EqCouplingRequests, EachEqualiserQueuesItsOwnSteps) {
    const int band[7] = {2, 8, 15, 25, 29, 34, 54};
    const int reset[7] = {5, 12, 22, 27, 32, 37, 57};
    const int bypass[7] = {6, 13, 23, 28, 33, 38, 58};
    for (int n = 1; n <= 7; ++n) {
        Ready f;
        f.pages->eq(n).graph->setDB(0, 1.0f);
        EXPECT_EQ(f.engine->PendingStep, band[n - 1]) << "EQ" << n;
        f.coupling->resetClick(n);
        EXPECT_EQ(f.engine->PendingStep, reset[n - 1]) << "EQ" << n;
        f.coupling->bypassClick(n);
        EXPECT_EQ(f.engine->PendingStep, bypass[n - 1]) << "EQ" << n;
    }
}

// Catches: an earlier band edit sent instead of the last one (StepIndex not overwritten).
TEST(EqCouplingRequests, LastBandEditWins) {
    Ready f;
    emit f.pages->LkSlide1[2]->DBChanged(1.0f);
    emit f.pages->LkSlide1[7]->DBChanged(-1.0f);
    EXPECT_EQ(f.engine->StepIndex, 7);
    EXPECT_EQ(f.engine->PendingStep, 2);
}

// Catches: a band event from a graph with more bands than strips indexing past the strips.
TEST(EqCouplingRequests, BandWithoutStripIsIgnored) {
    Ready f;
    f.engine->StepIndex = 4;
    emit f.pages->EQline3->PEQOUT(5, 1000.0f, 1.0f, 0.0f, 0);
    emit f.pages->EQline3->PEQOUT(-1, 1000.0f, 1.0f, 0.0f, 0);
    EXPECT_EQ(f.engine->StepIndex, 4);
    EXPECT_EQ(f.engine->PendingStep, 52);
}

// Catches: a reset that changes frequencies or Q, misses a band, queues a band step per band,
// or leaves DeviceReady false (later edits would never be sent).
TEST(EqCouplingReset, ZeroesGainsQueuesResetAndSetsReady) {
    Ready f;
    PageSet& p = *f.pages;
    for (int i = 0; i < 10; ++i) {
        p.EQline7->setVal(i, 100.0f + 100.0f * float(i), float(i) - 4.0f, 0.5f + float(i));
    }
    f.engine->PendingStep = 52; // the bands above were queued as edits
    // What the band echoes leave queued while the reset runs: nothing, or the unit would get
    // a band request per band ahead of the reset.
    std::vector<int> pendingAtEcho;
    QObject::connect(p.EQline7, &EQline::PEQOUT, p.EQline7,
                     [&] { pendingAtEcho.push_back(f.engine->PendingStep); });
    QTest::mouseClick(p.dcButton1, Qt::LeftButton);
    EXPECT_EQ(pendingAtEcho, std::vector<int>(10, 52));
    for (int i = 0; i < 10; ++i) {
        EXPECT_FLOAT_EQ(p.LkSlide7[std::size_t(i)]->db(), 0.0f) << i;
        EXPECT_FLOAT_EQ(p.EQline7->band(i).dB, 0.0f) << i;
        EXPECT_FLOAT_EQ(p.EQline7->band(i).F, 100.0f + 100.0f * float(i)) << i;
        EXPECT_FLOAT_EQ(p.LkSlide7[std::size_t(i)]->Q(), 0.5f + float(i)) << i;
    }
    EXPECT_EQ(f.engine->PendingStep, 57);
    EXPECT_TRUE(f.engine->Timer2().Enabled());
    EXPECT_TRUE(f.engine->DeviceReady);

    LinkedPages down;
    down.engine->PendingStep = 52;
    QTest::mouseClick(down.pages->dcButton16, Qt::LeftButton);
    EXPECT_FLOAT_EQ(down.pages->LkSlide1[0]->db(), 0.0f);
    EXPECT_EQ(down.engine->PendingStep, 52);
    EXPECT_FALSE(down.engine->Timer2().Enabled());
    EXPECT_TRUE(down.engine->DeviceReady);
}

// Catches: bypass not toggling, the wrong StepValue, strips changed by the bypass echo, and
// the button's caption or colour touched.
TEST(EqCouplingBypass, TogglesQueuesValueAndLeavesStripsAndButton) {
    Ready f;
    PageSet& p = *f.pages;
    p.EQline3->setVal(1, 2000.0f, 6.0f, 2.0f);
    const QString caption = p.dcButton22->Caption();
    const auto colour = p.dcButton22->BackColor();
    f.engine->PendingStep = 52; // the band set above was queued as an edit
    // The redraw's echoes must not queue the effect band step ahead of the bypass.
    std::vector<int> pendingAtEcho;
    QObject::connect(p.EQline3, &EQline::PEQOUT, p.EQline3,
                     [&] { pendingAtEcho.push_back(f.engine->PendingStep); });
    QTest::mouseClick(p.dcButton22, Qt::LeftButton);
    for (int step : pendingAtEcho) {
        EXPECT_EQ(step, 52);
    }
    EXPECT_TRUE(p.EQline3->EQ_BYPASS());
    EXPECT_EQ(f.engine->PendingStep, 23);
    EXPECT_EQ(f.engine->StepValue, 255);
    EXPECT_TRUE(f.engine->DeviceReady);
    f.engine->PendingStep = 52;
    QTest::mouseClick(p.dcButton22, Qt::LeftButton);
    EXPECT_FALSE(p.EQline3->EQ_BYPASS());
    EXPECT_EQ(f.engine->PendingStep, 23);
    EXPECT_EQ(f.engine->StepValue, 0);
    EXPECT_FLOAT_EQ(p.LkSlide3[1]->db(), 6.0f);
    EXPECT_FLOAT_EQ(p.LkSlide3[1]->F(), 2000.0f);
    EXPECT_EQ(p.dcButton22->Caption(), caption);
    EXPECT_EQ(p.dcButton22->BackColor(), colour);
    EXPECT_EQ(colour, kColorOff);

    // Link down: the value is not stored either; it would replace a connection's pending
    // link command (mended: the value goes only with the request).
    LinkedPages down;
    down.engine->PendingStep = 52;
    down.engine->StepValue = 0x7F;
    QTest::mouseClick(down.pages->dcButton22, Qt::LeftButton);
    EXPECT_TRUE(down.pages->EQline3->EQ_BYPASS());
    EXPECT_EQ(down.engine->PendingStep, 52);
    EXPECT_EQ(down.engine->StepValue, 0x7F);
    EXPECT_TRUE(down.engine->DeviceReady);
}
