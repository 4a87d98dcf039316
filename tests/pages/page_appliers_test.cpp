#include "controls/colors.h"
#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"
#include "core/messages.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "pages/block_fixture.h"
#include "pages/block_samples.h"
#include "pages/eq_panel.h"

#include <QLineEdit>
#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::block_samples;

namespace {

// Strip and graph of band i both hold the band (the graph from what the strip reported).
void expectBand(PageSet& p, int eq, int i, float F, float Q, float dB) {
    EqPanel& panel = p.eq(eq);
    const LkSlide* strip = panel.strips.at(std::size_t(i));
    EXPECT_FLOAT_EQ(strip->F(), F) << "EQ" << eq << " band " << i;
    EXPECT_FLOAT_EQ(strip->Q(), Q) << "EQ" << eq << " band " << i;
    EXPECT_FLOAT_EQ(strip->db(), dB) << "EQ" << eq << " band " << i;
    const Band g = panel.graph->band(i);
    EXPECT_FLOAT_EQ(g.F, F) << "graph " << eq << " band " << i;
    EXPECT_FLOAT_EQ(g.Q, Q) << "graph " << eq << " band " << i;
    EXPECT_FLOAT_EQ(g.dB, dB) << "graph " << eq << " band " << i;
}

void expectSlider(const ctSlide* s, const TextBox* t, int value, const char* text) {
    EXPECT_EQ(s->Value(), value) << text;
    EXPECT_EQ(t->Text(), QString::fromUtf8(text));
}

} // namespace

// Catches: sections fed from the wrong bytes, 83/84 not swapped, the sub cut-offs not reaching
// EQline6, and slider/read-out pairs with different numbers mixed up.
TEST(MusicApplier, FillsMusicMainCentreAndSubwooferPages) {
    LinkedPages f;
    f.engine->Blocks = sampleBlocks();
    f.appliers->Music_Data();
    PageSet& p = *f.pages;
    expectBand(p, 1, 0, 51, 0.1f, -12.0f);
    expectBand(p, 1, 6, 2980, 3.3f, 3.0f);
    expectBand(p, 1, 9, 20000, 15.0f, 12.0f);
    expectBand(p, 4, 2, 11450, 2.5f, 8.0f);
    expectBand(p, 5, 0, 70, 0.6f, -2.5f);
    expectBand(p, 6, 1, 149, 1.7f, 1.3f);
    expectSlider(p.ctSlide19, p.Text19, 4, "1.5V");
    expectSlider(p.ctSlide9, p.Text10, 131, "152Hz");
    expectSlider(p.ctSlide10[0], p.Text11[0], 66, "66");
    expectSlider(p.ctSlide10[1], p.Text11[1], 44, "44");
    expectSlider(p.ctSlide12[0], p.Text12[0], 130, "150Hz");
    expectSlider(p.ctSlide12[1], p.Text12[1], 255, "400Hz");
    EXPECT_FLOAT_EQ(p.EQline6->HP_F(), 150.0f);
    EXPECT_FLOAT_EQ(p.EQline6->LP_F(), 400.0f);
    expectSlider(p.ctSlide12[3], p.Text12[3], 23, "23"); // byte 83
    expectSlider(p.ctSlide12[2], p.Text12[2], 57, "57"); // byte 84
}

// Catches: microphone B writing into microphone A's controls (or the reverse), the high-pass
// of the wrong graph, and the "dB" unit missing on the high-frequency gain.
TEST(MicAppliers, EachMicrophoneFillsItsOwnPage) {
    LinkedPages f;
    f.engine->Blocks = sampleBlocks();
    f.appliers->Mic_Data();
    PageSet& p = *f.pages;
    expectBand(p, 2, 3, 400, 0.8f, -5.5f);
    expectSlider(p.ctSlide11, p.Text5, 155, "200Hz");
    EXPECT_FLOAT_EQ(p.EQline2->HP_F(), 200.0f);
    expectSlider(p.ctSlide8, p.Text9, 3, "3dB");
    const float micBBand0Before = p.LkSlide7[0]->db();

    f.appliers->MicB_Data();
    expectBand(p, 7, 0, 23, 14.0f, 11.5f);
    expectBand(p, 7, 9, 15450, 1.2f, -6.8f);
    expectSlider(p.ctSlide20, p.Text21, 77, "97Hz");
    EXPECT_FLOAT_EQ(p.EQline7->HP_F(), 97.0f);
    expectSlider(p.ctSlide21, p.Text20, 2, "2dB");
    // Microphone A is untouched by the B block.
    expectBand(p, 2, 3, 400, 0.8f, -5.5f);
    expectSlider(p.ctSlide11, p.Text5, 155, "200Hz");
    EXPECT_NE(micBBand0Before, p.LkSlide7[0]->db());
}

// Catches: the effect program taken from the system byte, the echo low-pass following the
// reverb high cut, a missing 400 offset, and the group read-out rules per index.
TEST(EffectApplier, ProgramPanelsGroupsAndCutFilters) {
    LinkedPages f;
    f.engine->Blocks = sampleBlocks();
    f.appliers->EFF_Data();
    PageSet& p = *f.pages;
    EXPECT_EQ(p.state.EffectProgram, 5);
    EXPECT_TRUE(p.Picture8->isHidden());
    EXPECT_FALSE(p.Picture9->isHidden());
    EXPECT_TRUE(p.Picture9->isEnabled());
    EXPECT_TRUE(p.Picture7[0]->isEnabled());
    expectBand(p, 3, 0, 290, 0.3f, -1.0f);
    expectBand(p, 3, 2, 16450, 7.0f, 5.0f);
    expectSlider(p.ctSlide6[0], p.Text7[0], 9, "9");
    expectSlider(p.ctSlide6[1], p.Text7[1], 3, "49ms");
    expectSlider(p.ctSlide6[4], p.Text7[4], 55, "55%");
    expectSlider(p.ctSlide6[7], p.Text7[7], 127, "381ms");
    expectSlider(p.ctSlide7[0], p.Text8[0], 12, "12");
    expectSlider(p.ctSlide7[1], p.Text8[1], 7, "98ms");
    expectSlider(p.ctSlide7[4], p.Text8[4], 45, "4.5s");
    expectSlider(p.ctSlide7[5], p.Text8[5], 0, "0.0s");
    expectSlider(p.ctSlide7[7], p.Text8[7], 39, "39ms");
    expectSlider(p.ctSlide7[9], p.Text8[9], 91, "91%");
    expectSlider(p.ctSlide4, p.Text4, 306, "503Hz");
    expectSlider(p.ctSlide5, p.Text6, 1800, "18KHz");
    expectSlider(p.ctSlide2, p.Text2, 131, "152Hz");
    expectSlider(p.ctSlide3, p.Text3, 455, "4.55KHz");
    EXPECT_FLOAT_EQ(p.EQline3->HP_F(), 503.0f);
    EXPECT_FLOAT_EQ(p.EQline3->LP_F(), 18000.0f);
}

// Catches: the echo low-pass taken as the single-precision product of the kHz read-out
// ("4.01KHz" giving 4010.0002 Hz) instead of ten times the slider value, as the slider's own
// handler gives it.
TEST(EffectApplier, EchoLowPassIsExactlyTenTimesTheSlider) {
    LinkedPages f;
    PageSet& p = *f.pages;
    for (int pair : {0, 1, 3, 403, 406, 410, 1400}) {
        auto effect = effectBytes();
        effect[35] = pair >> 8;
        effect[36] = pair & 0xFF;
        fill(f.engine->Blocks.EffectBlock, effect);
        f.appliers->EFF_Data();
        EXPECT_EQ(p.ctSlide5->Value(), pair + 400);
        EXPECT_EQ(p.EQline3->LP_F(), float(10 * (pair + 400))) << "pair " << pair;
    }
}

// Catches: the panels decided by the wrong test (KTV3/EFF3 left operable, a program byte
// above 7 hiding both groups).
TEST(EffectApplier, ProgramByteDecidesWhichGroupShowsAndWorks) {
    LinkedPages f;
    PageSet& p = *f.pages;
    struct Case {
        int program;
        bool echoShown, groupsEnabled, reverbCutEnabled;
    };
    for (const Case c : {Case{2, true, false, false}, Case{6, false, false, true},
                         Case{1, true, true, false}, Case{8, false, true, true}}) {
        auto effect = effectBytes();
        effect[0] = c.program;
        fill(f.engine->Blocks.EffectBlock, effect);
        f.appliers->EFF_Data();
        EXPECT_EQ(p.state.EffectProgram, c.program);
        EXPECT_EQ(p.Picture8->isHidden(), !c.echoShown) << c.program;
        EXPECT_EQ(p.Picture9->isHidden(), c.echoShown) << c.program;
        EXPECT_EQ(p.Picture8->isEnabled(), c.groupsEnabled) << c.program;
        EXPECT_EQ(p.Picture9->isEnabled(), c.groupsEnabled) << c.program;
        EXPECT_EQ(p.Picture7[0]->isEnabled(), c.reverbCutEnabled) << c.program;
        EXPECT_TRUE(p.Picture7[1]->isEnabled()) << c.program;
    }
}

// Catches: any system byte sent to its neighbour's control, Combo1 left blank by a
// case-sensitive match, the input port marked in its click colour, and the save button not
// following manual saving.
TEST(SystemApplier, EveryByteToItsControl) {
    LinkedPages f;
    f.applyAll();
    PageSet& p = *f.pages;
    expectSlider(p.ctSlide1[0], p.Text1[0], 61, "61");
    EXPECT_EQ(p.Combo1->ListIndex(), 4);
    EXPECT_EQ(p.Combo1->Text().toLower(), QStringLiteral("music5"));
    expectSlider(p.ctSlide14, p.Text14, 78, "78");
    expectSlider(p.ctSlide13, p.Text13, 29, "29");
    EXPECT_EQ(p.Option2->selectedIndex(), 3);
    expectSlider(p.ctSlide1[1], p.Text1[1], 47, "47");
    EXPECT_EQ(p.Combo2->ListIndex(), 2);
    EXPECT_EQ(p.Combo4->ListIndex(), 2);
    expectSlider(p.ctSlide16, p.Text16, 75, "75");
    expectSlider(p.ctSlide15, p.Text15, 21, "21");
    EXPECT_EQ(p.Option3->selectedIndex(), 5);
    expectSlider(p.ctSlide1[2], p.Text1[2], 39, "39");
    EXPECT_EQ(p.Combo3->ListIndex(), 6);
    // The effect panels follow the effect block's program (5), not the system byte (6).
    EXPECT_EQ(p.state.EffectProgram, 5);
    EXPECT_TRUE(p.Picture9->isEnabled());
    expectSlider(p.ctSlide18, p.Text18, 70, "70");
    expectSlider(p.ctSlide17, p.Text17, 13, "13");
    EXPECT_EQ(p.Option4->selectedIndex(), 7);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(p.dcButton19[i]->BackColor(), i == 2 ? kColorSelected : kColorOff) << i;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(p.dcButton3[i]->BackColor(), i == 1 ? kColorSelected : kColorOff) << i;
    }
    EXPECT_EQ(p.state.EqModeParametric, 1);
    EXPECT_EQ(p.Option1->selectedIndex(), 8);
    EXPECT_EQ(p.Option5->selectedIndex(), 1);
    EXPECT_FALSE(p.dcButton4->isHidden());
    ASSERT_EQ(f.prompter.boxes.size(), 1u);
    EXPECT_EQ(f.prompter.boxes[0].text, QString::fromUtf8(msg::kEqModeParametric));
    EXPECT_EQ(f.prompter.boxes[0].icon, BoxIcon::Information);
}

// Catches: read-outs written from the byte instead of the clamped slider, gains snapped or
// clamped by the applier, and the volume/maximum order enforced on received values.
TEST(ApplierValues, SlidersClampGainsAndQPassUnchanged) {
    LinkedPages f;
    auto music = musicBytes();
    music[40] = 9;   // limit beyond "2V"
    music[41] = 200; // main low cut beyond 155
    music[0] = 121;  // 0.1 dB: not a 0.2 dB step
    music[1] = 250;  // +13 dB
    music[11] = 0;   // Q 0 on band 1
    fill(f.engine->Blocks.MusicBlock, music);
    auto effect = effectBytes();
    effect[33] = 0x02; // echo low cut 600
    effect[34] = 0x58;
    effect[35] = 0x07; // echo high cut 2000 + 400
    effect[36] = 0xD0;
    fill(f.engine->Blocks.EffectBlock, effect);
    auto system = systemBytes();
    system[0] = 70; // music volume above its maximum
    system[2] = 20;
    system[5] = 200; // microphone volume beyond the slider
    fill(f.engine->Blocks.SystemBlock, system);
    f.appliers->Music_Data();
    f.appliers->EFF_Data();
    f.appliers->set_Data();
    PageSet& p = *f.pages;
    expectSlider(p.ctSlide19, p.Text19, 6, "2V");
    expectSlider(p.ctSlide9, p.Text10, 155, "200Hz");
    EXPECT_FLOAT_EQ(p.LkSlide1[0]->db(), 0.1f);
    EXPECT_FLOAT_EQ(p.EQline1->band(0).dB, 0.1f);
    EXPECT_FLOAT_EQ(p.LkSlide1[1]->db(), 13.0f);
    EXPECT_FLOAT_EQ(p.EQline1->band(1).dB, 13.0f);
    EXPECT_FLOAT_EQ(p.LkSlide1[1]->Q(), 0.0f);
    EXPECT_FLOAT_EQ(p.EQline1->band(1).Q, 0.0f);
    expectSlider(p.ctSlide4, p.Text4, 472, "1001Hz");
    EXPECT_FLOAT_EQ(p.EQline3->HP_F(), 1001.0f);
    expectSlider(p.ctSlide5, p.Text6, 1800, "18KHz");
    expectSlider(p.ctSlide1[0], p.Text1[0], 70, "70");
    expectSlider(p.ctSlide14, p.Text14, 20, "20");
    expectSlider(p.ctSlide1[1], p.Text1[1], 80, "80");
}

// Catches: a switch field forced to its toggle's value (255, 71) instead of keeping the byte,
// a field or caption fed from its neighbour's byte (each row gives the five switches different
// bytes), mute or key lock not going to -1 and blue for any non-zero byte, and the save button
// shown while automatic saving is chosen.
TEST(ApplierSwitches, FieldsKeepTheByteAndAnyNonZeroIsOn) {
    LinkedPages f;
    PageSet& p = *f.pages;
    const int bytes[] = {71, 0, 9, 255, 1, 0, 200};
    const int count = int(std::size(bytes));
    for (int row = 0; row < count; ++row) {
        SCOPED_TRACE(row);
        // Music bytes 56 (effect into centre) and 85 (phase); system bytes 15 (mute),
        // 16 (key lock) and 19 (exciter).
        const auto byte = [&](int field) { return bytes[(row + field) % count]; };
        const auto on = [&](int field) { return byte(field) != 0; };
        auto music = musicBytes();
        music[56] = byte(0);
        music[85] = byte(1);
        fill(f.engine->Blocks.MusicBlock, music);
        auto system = systemBytes();
        system[15] = byte(2);
        system[16] = byte(3);
        system[19] = byte(4);
        system[22] = row % 2;
        fill(f.engine->Blocks.SystemBlock, system);
        f.appliers->Music_Data();
        f.appliers->set_Data();
        EXPECT_EQ(p.state.CenterEffectOn, byte(0));
        EXPECT_EQ(p.dcButton27->Caption(), on(0) ? QStringLiteral("开") : QStringLiteral("关"));
        EXPECT_EQ(p.state.SubPhase, byte(1));
        EXPECT_EQ(p.dcButton12->Caption(), on(1) ? QStringLiteral("180") : QStringLiteral("0"));
        EXPECT_EQ(p.state.MuteOn, on(2) ? -1 : 0);
        EXPECT_EQ(p.dcButton31->BackColor(), on(2) ? kColorOn : kColorOff);
        EXPECT_EQ(p.state.KeyLockOn, on(3) ? -1 : 0);
        EXPECT_EQ(p.dcButton32->BackColor(), on(3) ? kColorOn : kColorOff);
        EXPECT_EQ(p.state.ExciterOn, byte(4));
        EXPECT_EQ(p.dcButton15->Caption(), on(4) ? QStringLiteral("开") : QStringLiteral("关"));
        EXPECT_EQ(p.Option5->selectedIndex(), row % 2);
        EXPECT_EQ(p.dcButton4->isHidden(), row % 2 == 0);
    }
}

// Catches: an out-of-range selection byte stopping the applier (losing the equaliser mode)
// or clearing/overrunning the selection it cannot make.
TEST(ApplierSelections, OutOfRangeLeavesTheSelectionAndGoesOn) {
    LinkedPages f;
    f.applyAll();
    PageSet& p = *f.pages;
    f.prompter.boxes.clear();
    auto system = systemBytes();
    for (int k : {1, 4, 6, 9}) {
        system[std::size_t(k)] = 6;
    }
    system[11] = 8;
    system[14] = 8;
    system[17] = 4;
    system[18] = 3;
    system[21] = 11;
    system[22] = 2;
    system[15] = 0; // still applied: mute off
    system[19] = 0; // exciter off
    system[20] = 0; // graphic mode
    fill(f.engine->Blocks.SystemBlock, system);
    f.appliers->set_Data();
    EXPECT_EQ(p.Combo1->ListIndex(), 4);
    EXPECT_EQ(p.Option2->selectedIndex(), 3);
    EXPECT_EQ(p.Combo2->ListIndex(), 2);
    EXPECT_EQ(p.Combo4->ListIndex(), 2);
    EXPECT_EQ(p.Option3->selectedIndex(), 5);
    EXPECT_EQ(p.Combo3->ListIndex(), 6);
    EXPECT_EQ(p.Option4->selectedIndex(), 7);
    EXPECT_EQ(p.dcButton19[2]->BackColor(), kColorSelected);
    EXPECT_EQ(p.dcButton3[1]->BackColor(), kColorSelected);
    EXPECT_EQ(p.Option1->selectedIndex(), 8);
    EXPECT_EQ(p.Option5->selectedIndex(), 1);
    EXPECT_FALSE(p.dcButton4->isHidden());
    EXPECT_EQ(p.state.MuteOn, 0);
    EXPECT_EQ(p.dcButton31->BackColor(), kColorOff);
    EXPECT_EQ(p.dcButton15->Caption(), QStringLiteral("关"));
    EXPECT_EQ(p.state.EqModeParametric, 0);
    ASSERT_EQ(f.prompter.boxes.size(), 1u);
    EXPECT_EQ(f.prompter.boxes[0].text, QString::fromUtf8(msg::kEqModeGraphic));
}

// Catches: a short reply crashing the applier or leaving old values where 0 belongs.
TEST(ApplierShortBlock, MissingBytesApplyAsZero) {
    LinkedPages f;
    f.applyAll();
    auto music = musicBytes();
    music.resize(10);
    fill(f.engine->Blocks.MusicBlock, music);
    f.appliers->Music_Data();
    PageSet& p = *f.pages;
    expectBand(p, 1, 9, 20, 0.0f, 12.0f);
    expectBand(p, 4, 0, 20, 0.0f, -12.0f);
    expectBand(p, 6, 2, 20, 0.0f, -12.0f);
    expectSlider(p.ctSlide19, p.Text19, 0, "OFF");
    expectSlider(p.ctSlide9, p.Text10, 0, "20Hz");
    EXPECT_EQ(p.dcButton27->Caption(), QStringLiteral("关"));
    EXPECT_EQ(p.state.CenterEffectOn, 0);
    expectSlider(p.ctSlide12[0], p.Text12[0], 0, "20Hz");
    expectSlider(p.ctSlide12[1], p.Text12[1], 0, "20Hz");
    EXPECT_FLOAT_EQ(p.EQline6->HP_F(), 20.0f);
    EXPECT_FLOAT_EQ(p.EQline6->LP_F(), 20.0f);
    EXPECT_EQ(p.dcButton12->Caption(), QStringLiteral("0"));
    EXPECT_EQ(p.state.SubPhase, 0);
}

// Catches: a section recall (link up, unit not ready) queueing a band or slider request for
// the values the block just delivered.
TEST(ApplierRequests, NothingQueuedWhileApplying) {
    LinkedPages f;
    f.setLinkUp(true);
    f.engine->DeviceReady = false;
    f.engine->PendingStep = 52;
    f.engine->StepValue = 7;
    f.applyAll();
    EXPECT_EQ(f.engine->PendingStep, 52);
    EXPECT_EQ(f.engine->StepValue, 7);
    EXPECT_FALSE(f.engine->Timer2().Enabled());
    EXPECT_FALSE(f.engine->Timer3().Enabled());
    EXPECT_FALSE(f.engine->DeviceReady);
    EXPECT_TRUE(f.line.writes.empty());
}

// Catches: the boxes of a strip left at old texts or fed from the wrong field after an apply,
// and the applier writing the frequency unit itself: "Hz" comes only from the graph's echo,
// so without the coupling the frequency box shows the bare number.
TEST(ApplierEcho, StripTextsAfterAnApply) {
    struct Row {
        int eq, band;
        const char *gain, *q, *freq;
    };
    const Row rows[] = {{1, 0, "-12.0dB", "0.1", "51"},    {1, 4, "-0.5dB", "1.4", "1001"},
                        {1, 9, "12.0dB", "15.0", "20000"}, {4, 2, "8.0dB", "2.5", "11450"},
                        {5, 1, "0.1dB", "2.2", "935"},     {6, 0, "-4.3dB", "0.9", "30"},
                        {2, 3, "-5.5dB", "0.8", "400"},    {7, 9, "-6.8dB", "1.2", "15450"},
                        {3, 2, "5.0dB", "7.0", "16450"}};
    for (bool coupled : {false, true}) {
        LinkedPages f;
        if (!coupled) {
            f.coupling.reset();
        }
        f.applyAll();
        for (const Row& r : rows) {
            const LkSlide* strip = f.pages->eq(r.eq).strips.at(std::size_t(r.band));
            const QString freq = QString::fromLatin1(r.freq) + (coupled ? "Hz" : "");
            EXPECT_EQ(strip->gainBox()->text(), QString::fromLatin1(r.gain)) << r.eq << r.band;
            EXPECT_EQ(strip->qBox()->text(), QString::fromLatin1(r.q)) << r.eq << r.band;
            EXPECT_EQ(strip->freqBox()->text(), freq) << r.eq << r.band;
        }
        EXPECT_FLOAT_EQ(f.pages->EQline1->band(4).F, 1001.0f);
    }
}
