#include "pages/page_appliers.h"

#include "controls/colors.h"
#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"
#include "core/numbers.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "link/link_engine.h"
#include "pages/block_layout.h"
#include "pages/eq_mode.h"
#include "pages/eq_panel.h"
#include "pages/page_set.h"
#include "pages/readouts.h"

#include <cstdint>
#include <optional>

namespace korvanex {

namespace {

// Every read-out is written from the value the slider holds after the set (it clamps), never
// from the byte.
int setSlider(ctSlide* slider, int value) {
    slider->setValue(value);
    return slider->Value();
}

void plain(ctSlide* slider, TextBox* box, int value, const char* unit = "") {
    box->setText(ValueText(setSlider(slider, value), unit));
}

void cutoffHz(ctSlide* slider, TextBox* box, int value) {
    box->setText(FilterFreqText(setSlider(slider, value)));
}

void cutoffKHz(ctSlide* slider, TextBox* box, int value) {
    box->setText(CutoffKHzText(setSlider(slider, value)));
}

// The graphs follow the cut-off read-outs, as they do when the user moves the slider.
// `scale` is applied before the narrowing so that a kHz read-out such as "4.01KHz" gives
// exactly 4010 Hz, not the float product 4010.0002.
float readoutHz(const TextBox* box, double scale = 1.0) {
    return static_cast<float>(leadingNumber(box->Text()) * scale);
}

// A selection byte picks its option only when the control has that option; otherwise the
// selection stays as it was and the rest of the block still applies.
void selectOption(OptionGroup* group, int byte, int count) {
    if (auto index = selectionIndex(byte, count)) {
        group->setValue(*index, true);
    }
}

// Selector buttons: all grey, then the chosen one marked.
template <std::size_t N> void markButton(const std::array<dcButton*, N>& buttons, int byte) {
    const auto index = selectionIndex(byte, int(N));
    if (!index) {
        return;
    }
    for (dcButton* b : buttons) {
        b->setBackColor(kColorOff);
    }
    buttons[std::size_t(*index)]->setBackColor(kColorSelected);
}

// Mute and key lock: any non-zero byte is on; the field keeps 0 or -1.
void applySwitch(std::int16_t& field, dcButton* button, int byte) {
    field = byte != 0 ? std::int16_t(-1) : std::int16_t(0);
    button->setBackColor(byte != 0 ? kColorOn : kColorOff);
}

QString onOffCaption(int byte) {
    return byte != 0 ? QStringLiteral("开") : QStringLiteral("关");
}

} // namespace

void applyEqSection(PageSet& pages, int graph, std::span<const Band> bands) {
    EqPanel& panel = pages.eq(graph);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        LkSlide* strip = panel.strips.at(i);
        const Band& band = bands[i];
        strip->setDb(band.dB);
        strip->setQ(band.Q);
        strip->setF(band.F);
        // The graph's band event echoes the band into the strip and, with the unit not ready,
        // queues nothing.
        panel.graph->setVal(int(i), strip->F(), strip->db(), strip->Q());
    }
}

PageAppliers::PageAppliers(PageSet& pages, link::LinkEngine& link, Prompter& prompter)
    : pages_(pages), link_(link), prompter_(prompter) {}

void PageAppliers::Music_Data() {
    PageSet& p = pages_;
    const MusicBlockValues v = decodeMusicBlock(link_.Blocks.MusicBlock);

    applyEqSection(1, v.musicEq);
    if (auto text = OutputLimitText(setSlider(p.ctSlide19, v.outLimit))) {
        p.Text19->setText(*text);
    }
    cutoffHz(p.ctSlide9, p.Text10, v.mainLowCut);
    applyEqSection(4, v.mainEq);
    plain(p.ctSlide10[0], p.Text11[0], v.centreMusicVolume);
    plain(p.ctSlide10[1], p.Text11[1], v.centreMicVolume);
    p.state.CenterEffectOn = std::int16_t(v.centreEffect);
    p.dcButton27->setCaption(onOffCaption(v.centreEffect));
    applyEqSection(5, v.centreEq);
    cutoffHz(p.ctSlide12[0], p.Text12[0], v.subLowCut);
    p.EQline6->setHP_F(readoutHz(p.Text12[0]));
    cutoffHz(p.ctSlide12[1], p.Text12[1], v.subHighCut);
    p.EQline6->setLP_F(readoutHz(p.Text12[1]));
    applyEqSection(6, v.subEq);
    // The lower slider, the bass volume with the microphone closed, comes first.
    plain(p.ctSlide12[3], p.Text12[3], v.subVolumeMicClosed);
    plain(p.ctSlide12[2], p.Text12[2], v.subVolumeMicOpen);
    p.state.SubPhase = std::int16_t(v.subPhase);
    p.dcButton12->setCaption(v.subPhase != 0 ? QStringLiteral("180") : QStringLiteral("0"));
}

void PageAppliers::applyMic(std::span<const QString> block, bool micB) {
    PageSet& p = pages_;
    const MicBlockValues v = decodeMicBlock(block);
    applyEqSection(micB ? 7 : 2, v.eq);
    ctSlide* lowCut = micB ? p.ctSlide20 : p.ctSlide11;
    TextBox* lowCutText = micB ? p.Text21 : p.Text5;
    cutoffHz(lowCut, lowCutText, v.lowCut);
    (micB ? p.EQline7 : p.EQline2)->setHP_F(readoutHz(lowCutText));
    plain(micB ? p.ctSlide21 : p.ctSlide8, micB ? p.Text20 : p.Text9, v.highGain, "dB");
}

void PageAppliers::Mic_Data() {
    applyMic(link_.Blocks.MicABlock, false);
}

void PageAppliers::MicB_Data() {
    applyMic(link_.Blocks.MicBBlock, true);
}

void PageAppliers::EFF_Data() {
    PageSet& p = pages_;
    const EffectBlockValues v = decodeEffectBlock(link_.Blocks.EffectBlock);

    p.state.EffectProgram = std::int16_t(v.program);
    p.showEffectProgram();
    applyEqSection(3, v.eq);
    for (std::size_t i = 0; i < v.echo.size(); ++i) {
        p.ctSlide6[i]->setValue(v.echo[i]);
    }
    for (std::size_t i = 0; i < v.echo.size(); ++i) {
        p.Text7[i]->setText(EchoGroupText(int(i), p.ctSlide6[i]->Value()));
    }
    for (std::size_t i = 0; i < v.reverb.size(); ++i) {
        p.ctSlide7[i]->setValue(v.reverb[i]);
    }
    for (std::size_t i = 0; i < v.reverb.size(); ++i) {
        p.Text8[i]->setText(ReverbGroupText(int(i), p.ctSlide7[i]->Value()));
    }
    cutoffHz(p.ctSlide4, p.Text4, v.echoLowCut);
    p.EQline3->setHP_F(readoutHz(p.Text4));
    cutoffKHz(p.ctSlide5, p.Text6, v.echoHighCut);
    p.EQline3->setLP_F(readoutHz(p.Text6, 1000.0));
    cutoffHz(p.ctSlide2, p.Text2, v.reverbLowCut);
    cutoffKHz(p.ctSlide3, p.Text3, v.reverbHighCut);
}

void PageAppliers::set_Data() {
    PageSet& p = pages_;
    const SystemBlockValues v = decodeSystemBlock(link_.Blocks.SystemBlock);

    plain(p.ctSlide1[0], p.Text1[0], v.musicVolume);
    if (auto text = musicModeText(v.musicMode)) {
        // The list holds the same names in capitals; the window's list matches them
        // whatever the case.
        p.Combo1->setListIndex(p.Combo1->findText(*text, Qt::MatchFixedString));
    }
    plain(p.ctSlide14, p.Text14, v.musicMaxVolume);
    plain(p.ctSlide13, p.Text13, v.musicStartVolume);
    selectOption(p.Option2, v.startMusicMode, kMusicModeCount);
    plain(p.ctSlide1[1], p.Text1[1], v.micVolume);
    // One microphone mode byte serves both microphone pages.
    if (auto mode = selectionIndex(v.micMode, kMicModeCount)) {
        p.Combo2->setListIndex(*mode);
        p.Combo4->setListIndex(*mode);
    }
    plain(p.ctSlide16, p.Text16, v.micMaxVolume);
    plain(p.ctSlide15, p.Text15, v.micStartVolume);
    selectOption(p.Option3, v.startMicMode, kMicModeCount);
    plain(p.ctSlide1[2], p.Text1[2], v.effectVolume);
    if (auto program = selectionIndex(v.effectProgram, kEffectProgramCount)) {
        p.Combo3->setListIndex(*program);
    }
    plain(p.ctSlide18, p.Text18, v.effectMaxVolume);
    plain(p.ctSlide17, p.Text17, v.effectStartVolume);
    selectOption(p.Option4, v.startEffectMode, kEffectProgramCount);
    applySwitch(p.state.MuteOn, p.dcButton31, v.mute);
    applySwitch(p.state.KeyLockOn, p.dcButton32, v.keyLock);
    markButton(p.dcButton19, v.feedback);
    markButton(p.dcButton3, v.inputPort);
    p.state.ExciterOn = std::int16_t(v.exciter);
    p.dcButton15->setCaption(onOffCaption(v.exciter));
    p.state.EqModeParametric = std::int16_t(v.eqMode);
    if (v.eqMode != 0) {
        canliangeq(p, prompter_);
    } else {
        tushieq(p, prompter_);
    }
    selectOption(p.Option1, v.keyShift, kKeyShiftCount);
    if (auto mode = selectionIndex(v.saveMode, kSaveModeCount)) {
        p.Option5->setValue(*mode, true);
        // The save button belongs to manual saving.
        p.dcButton4->setHidden(*mode == 0);
    }
}

} // namespace korvanex
