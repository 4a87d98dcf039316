// Between the pages and a parameter record: what a save gathers and what a load sets.

#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "pages/eq_panel.h"
#include "preset_fixture.h"
#include "presets/page_record.h"

#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::preset_test;

// Catches: a save that reads the wrong control for a line, or misses the start-up bands the
// strips show after start.
TEST(PageRecord, DesignStateRightAfterStartGathersTheDesignFile) {
    PresetRig rig;
    const QByteArray written = ktv::write(gatherRecord(*rig.pages), ktv::DecimalPoint::Dot);
    EXPECT_EQ(written.size(), 655);
    EXPECT_EQ(sha256Hex(written), kDesignSha256);
    EXPECT_EQ(written, goldenFile("design.ktv"));
}

// Catches: a slider, read-out, field or equaliser gathered out of file order (67/68 and
// 132 among them).
TEST(PageRecord, E1PagesGatherTheE1File) {
    PresetRig rig;
    setE1Pages(*rig.pages);
    EXPECT_EQ(ktv::write(gatherRecord(*rig.pages), ktv::DecimalPoint::Dot), goldenFile("e1.ktv"));
}

// Catches: read-outs taken from the file instead of recomputed from the slider (a "4,55KHz"
// read-out would make the echo low-pass 4 kHz), and values outside a slider's range passed on.
TEST(PageRecord, ReadoutsFollowTheSlidersNotTheFile) {
    PresetRig rig;
    ktv::ParameterRecord r = e1Record();
    r.readouts = {QStringLiteral("x"), QStringLiteral("9Hz"), QStringLiteral("4,55KHz"),
                  QStringLiteral(""), QStringLiteral("1KHz")};
    r.sliders[0] = 9;      // music output limit 0..6
    r.sliders[28] = -40;   // echo low cut 0..472
    r.sliders[29] = 99999; // echo high cut 400..1800
    applyRecord(*rig.pages, r);
    const PageSet& p = *rig.pages;
    EXPECT_EQ(p.ctSlide19->Value(), 6);
    EXPECT_EQ(p.Text19->Text(), QStringLiteral("2V"));
    EXPECT_EQ(p.ctSlide4->Value(), 0);
    EXPECT_EQ(p.Text4->Text(), QStringLiteral("20Hz"));
    EXPECT_FLOAT_EQ(p.EQline3->HP_F(), 20.0f);
    EXPECT_EQ(p.ctSlide5->Value(), 1800);
    EXPECT_EQ(p.Text6->Text(), QStringLiteral("18KHz"));
    EXPECT_FLOAT_EQ(p.EQline3->LP_F(), 18000.0f);
    EXPECT_EQ(p.Text3->Text(), QStringLiteral("12.3KHz"));
}

// Catches: fields that set their page state but not their captions, lists and panels, or
// take "any non-zero" as off; and an effect program above 7 that clears the list instead of
// leaving it, as a connection's effect block does, or shows other panels than that block.
TEST(PageRecord, FieldsSetTheirCaptionsAndPanels) {
    struct Case {
        int centre, phase, program;
        const char* centreCaption;
        const char* phaseCaption;
        bool echoShown, echoEnabled, reverbEnabled, reverbCutEnabled;
    };
    const Case cases[] = {
        {0, 0, 0, "关", "0", true, true, true, false},
        {1, 3, 2, "开", "180", true, false, false, false},
        {71, 255, 4, "开", "180", false, true, true, true},
        {0, 255, 7, "关", "180", false, false, false, true},
        {0, 0, 8, "关", "0", false, true, true, true},
        {71, 0, 255, "开", "0", false, true, true, true},
    };
    for (const Case& c : cases) {
        PresetRig rig;
        rig.pages->Combo3->setListIndex(3);
        ktv::ParameterRecord r = e1Record();
        r.fields = {c.centre, c.phase, c.program};
        applyRecord(*rig.pages, r);
        const PageSet& p = *rig.pages;
        EXPECT_EQ(p.state.CenterEffectOn, c.centre);
        EXPECT_EQ(p.dcButton27->Caption(), QString::fromUtf8(c.centreCaption)) << c.centre;
        EXPECT_EQ(p.state.SubPhase, c.phase);
        EXPECT_EQ(p.dcButton12->Caption(), QString::fromUtf8(c.phaseCaption)) << c.phase;
        EXPECT_EQ(p.state.EffectProgram, c.program);
        EXPECT_EQ(p.Combo3->ListIndex(), c.program < 8 ? c.program : 3) << c.program;
        EXPECT_EQ(p.Picture8->isVisibleTo(p.Picture1[2]), c.echoShown) << c.program;
        EXPECT_EQ(p.Picture9->isVisibleTo(p.Picture1[2]), !c.echoShown) << c.program;
        EXPECT_EQ(p.Picture8->isEnabled(), c.echoEnabled) << c.program;
        EXPECT_EQ(p.Picture9->isEnabled(), c.reverbEnabled) << c.program;
        EXPECT_EQ(p.Picture7[0]->isEnabled(), c.reverbCutEnabled) << c.program;
    }
}

// Catches: a load that touches what a file does not hold: the music and microphone volumes,
// the system page, the bypass states, the equaliser mode and the other page fields.
TEST(PageRecord, ApplyLeavesWhatTheFileDoesNotHold) {
    PresetRig rig;
    PageSet& p = *rig.pages;
    p.ctSlide1[0]->setValue(11);
    p.ctSlide1[1]->setValue(12);
    p.Text1[0]->setText(QStringLiteral("11"));
    p.Text1[1]->setText(QStringLiteral("12"));
    p.ctSlide13->setValue(13);
    p.ctSlide18->setValue(18);
    p.Option1->setValue(2, true);
    p.Option5->setValue(1, true);
    p.Combo1->setListIndex(3);
    p.Combo2->setListIndex(4);
    p.Combo4->setListIndex(5);
    p.EQline4->setEQ_BYPASS(true);
    p.LkSlide2[3]->setFEnabled(false);
    p.state.ExciterOn = 255;
    p.state.MuteOn = -1;
    p.state.KeyLockOn = -1;
    p.state.EqModeParametric = 1;
    p.dcButton15->setCaption(QStringLiteral("开"));

    applyRecord(p, e1Record());

    EXPECT_EQ(p.ctSlide1[0]->Value(), 11);
    EXPECT_EQ(p.ctSlide1[1]->Value(), 12);
    EXPECT_EQ(p.Text1[0]->Text(), QStringLiteral("11"));
    EXPECT_EQ(p.Text1[1]->Text(), QStringLiteral("12"));
    EXPECT_EQ(p.ctSlide13->Value(), 13);
    EXPECT_EQ(p.ctSlide18->Value(), 18);
    EXPECT_TRUE(p.Option1->Value(2));
    EXPECT_TRUE(p.Option5->Value(1));
    EXPECT_EQ(p.Combo1->ListIndex(), 3);
    EXPECT_EQ(p.Combo2->ListIndex(), 4);
    EXPECT_EQ(p.Combo4->ListIndex(), 5);
    EXPECT_TRUE(p.EQline4->EQ_BYPASS());
    EXPECT_FALSE(p.LkSlide2[3]->FEnabled());
    EXPECT_EQ(p.state.ExciterOn, 255);
    EXPECT_EQ(p.state.MuteOn, -1);
    EXPECT_EQ(p.state.KeyLockOn, -1);
    EXPECT_EQ(p.state.EqModeParametric, 1);
    EXPECT_EQ(p.dcButton15->Caption(), QStringLiteral("开"));
}
