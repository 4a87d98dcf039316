#include "preset_fixture.h"

#include "app/eq_graph_init.h"
#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "pages/eq_panel.h"

#include "pages/page_appliers.h"

#include <QCryptographicHash>
#include <QFile>
#include <QObject>
#include <gtest/gtest.h>

namespace korvanex::preset_test {

namespace {

Band gqf(float gain, float Q, float F) {
    return Band{F, Q, gain};
}

// A ten-band equaliser at its start bands (default frequencies, 0 dB, Q 1).
std::vector<Band> startBands(int count) {
    std::vector<Band> bands;
    for (int i = 0; i < count; ++i) {
        bands.push_back(gqf(0.0f, 1.0f, float(*BandDefaultFreq(i))));
    }
    return bands;
}

// The E1 equalisers in file order: music, main, centre, subwoofer, microphone A, effect,
// microphone B.
std::vector<std::vector<Band>> e1Equalisers() {
    std::vector<Band> micA = startBands(10);
    micA[5].dB = -0.1f;
    micA[9].Q = 10.0f;
    std::vector<Band> micB = startBands(10);
    micB[0] = gqf(12, 0.5f, 31.5f);
    return {
        {gqf(0, 1, 60), gqf(-3.5f, 0.7f, 100), gqf(6, 2.5f, 200), gqf(-3.5f, 0.7f, 1000),
         gqf(-12, 15, 1234.567f), gqf(12, 0.3f, 1234.5f), gqf(0.2f, 1, 2000),
         gqf(-0.2f, 1.2f, 4000), gqf(11.8f, 1, 6300), gqf(-11.8f, 4.5f, 20000)},
        {gqf(-6, 0.5f, 80), gqf(1.5f, 1.4f, 2500), gqf(0, 1, 12000)},
        {gqf(3, 0.9f, 150), gqf(-1.3f, 3, 800), gqf(0, 1, 5000)},
        {gqf(4, 0.7f, 40), gqf(-2, 1, 63), gqf(0, 2, 125)},
        micA,
        {gqf(-12, 0.3f, 20), gqf(12, 15, 20000), gqf(0.4f, 0.8f, 999)},
        micB,
    };
}

constexpr std::array<int, 7> kFileOrder{1, 4, 5, 6, 2, 3, 7};

} // namespace

PresetRig::PresetRig() {
    engine = std::make_unique<link::LinkEngine>(line, bar, prompter, clock.factory(),
                                                [] { return QStringLiteral("ttyFAKE0"); });
    engine->setClock(clock.monotonic());
    pages = std::make_unique<PageSet>(&window);
    coupling = std::make_unique<EqCoupling>(*pages, *engine);
    initPageGraphs(*pages);
    files = std::make_unique<ParameterFileHandlers>(*pages, *engine, prompter, dialog);
}

PresetRig::~PresetRig() = default;

void PresetRig::setLinkUp(bool up) {
    line.open = up;
    bar.connectEnabled = !up;
}

QByteArray goldenFile(const char* name) {
    QFile file(QStringLiteral(KORVANEX_PRESET_DATA_DIR "/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

QByteArray sha256Hex(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

ktv::ParameterRecord e1Record() {
    ktv::ParameterRecord r;
    std::size_t b = 0;
    for (const auto& eq : e1Equalisers()) {
        for (const Band& band : eq) {
            r.bands[b++] = band;
        }
    }
    r.sliders = {5,  131, 75, 0,  40, 150, 80, 30, 80, 2,  6,   14,  40, 68,   90, 63,  75, 63,
                 15, 14,  40, 68, 50, 45,  45, 20, 88, 90, 306, 455, 0,  1230, 32, 155, 3};
    r.readouts = {QStringLiteral("1.75V"), QStringLiteral("503Hz"), QStringLiteral("4.55KHz"),
                  QStringLiteral("20Hz"), QStringLiteral("12.3KHz")};
    r.fields = {71, 255, 5};
    return r;
}

void setE1Pages(PageSet& p) {
    const auto equalisers = e1Equalisers();
    for (std::size_t k = 0; k < kFileOrder.size(); ++k) {
        EqPanel& panel = p.eq(kFileOrder[k]);
        for (std::size_t i = 0; i < panel.strips.size(); ++i) {
            const Band& band = equalisers[k][i];
            panel.strips[i]->setVal(band.F, band.dB, band.Q);
        }
    }
    p.ctSlide19->setValue(5);
    p.ctSlide9->setValue(131);
    p.ctSlide10[0]->setValue(75);
    p.ctSlide10[1]->setValue(0);
    p.ctSlide12[0]->setValue(40);
    p.ctSlide12[1]->setValue(150);
    p.ctSlide12[2]->setValue(30);
    p.ctSlide12[3]->setValue(80);
    p.ctSlide11->setValue(80);
    p.ctSlide8->setValue(2);
    p.ctSlide4->setValue(306);
    p.ctSlide5->setValue(455);
    p.ctSlide2->setValue(0);
    p.ctSlide3->setValue(1230);
    p.ctSlide1[2]->setValue(32);
    p.ctSlide20->setValue(155);
    p.ctSlide21->setValue(3);
    p.showAllReadouts();
    p.state.CenterEffectOn = 71;
    p.state.SubPhase = 255;
    p.state.EffectProgram = 5;
}

void scramble(PageSet& p) {
    for (ctSlide* slider : p.Picture1[0]->parentWidget()->findChildren<ctSlide*>()) {
        slider->setValue(slider->Min() + 1);
    }
    p.showAllReadouts();
    for (int n = 1; n <= 7; ++n) {
        const std::vector<Band> bands(p.eq(n).strips.size(), Band{777.0f, 7.0f, 7.0f});
        applyEqSection(p, n, bands);
    }
    p.state.CenterEffectOn = 0;
    p.dcButton27->setCaption(QStringLiteral("关"));
    p.state.SubPhase = 0;
    p.dcButton12->setCaption(QStringLiteral("0"));
    p.state.EffectProgram = 2;
    p.Combo3->setListIndex(2);
    p.showEffectProgram();
}

void expectE1Pages(const PageSet& p) {
    const auto equalisers = e1Equalisers();
    for (std::size_t k = 0; k < kFileOrder.size(); ++k) {
        const EqPanel& panel = p.eq(kFileOrder[k]);
        for (std::size_t i = 0; i < panel.strips.size(); ++i) {
            const Band& want = equalisers[k][i];
            const LkSlide* strip = panel.strips[i];
            const Band graph = panel.graph->band(int(i));
            EXPECT_EQ(strip->F(), want.F) << "LkSlide" << kFileOrder[k] << "(" << i << ")";
            EXPECT_EQ(strip->Q(), want.Q) << "LkSlide" << kFileOrder[k] << "(" << i << ")";
            EXPECT_EQ(strip->db(), want.dB) << "LkSlide" << kFileOrder[k] << "(" << i << ")";
            EXPECT_EQ(graph.F, want.F) << "EQline" << kFileOrder[k] << " band " << i;
            EXPECT_EQ(graph.Q, want.Q) << "EQline" << kFileOrder[k] << " band " << i;
            EXPECT_EQ(graph.dB, want.dB) << "EQline" << kFileOrder[k] << " band " << i;
        }
    }
    struct Readout {
        const ctSlide* slider;
        int value;
        const TextBox* box;
        const char* text;
    };
    const Readout readouts[] = {
        {p.ctSlide19, 5, p.Text19, "1.75V"},       {p.ctSlide9, 131, p.Text10, "152Hz"},
        {p.ctSlide10[0], 75, p.Text11[0], "75"},   {p.ctSlide10[1], 0, p.Text11[1], "0"},
        {p.ctSlide12[0], 40, p.Text12[0], "60Hz"}, {p.ctSlide12[1], 150, p.Text12[1], "190Hz"},
        {p.ctSlide12[2], 30, p.Text12[2], "30"},   {p.ctSlide12[3], 80, p.Text12[3], "80"},
        {p.ctSlide11, 80, p.Text5, "100Hz"},       {p.ctSlide8, 2, p.Text9, "2dB"},
        {p.ctSlide6[0], 6, p.Text7[0], "6"},       {p.ctSlide6[1], 14, p.Text7[1], "184ms"},
        {p.ctSlide6[2], 40, p.Text7[2], "40"},     {p.ctSlide6[3], 68, p.Text7[3], "68"},
        {p.ctSlide6[4], 90, p.Text7[4], "90%"},    {p.ctSlide6[5], 63, p.Text7[5], "63"},
        {p.ctSlide6[6], 75, p.Text7[6], "75"},     {p.ctSlide6[7], 63, p.Text7[7], "189ms"},
        {p.ctSlide7[0], 15, p.Text8[0], "15"},     {p.ctSlide7[1], 14, p.Text8[1], "184ms"},
        {p.ctSlide7[2], 40, p.Text8[2], "40"},     {p.ctSlide7[3], 68, p.Text8[3], "68"},
        {p.ctSlide7[4], 50, p.Text8[4], "5.0s"},   {p.ctSlide7[5], 45, p.Text8[5], "4.5s"},
        {p.ctSlide7[6], 45, p.Text8[6], "4.5s"},   {p.ctSlide7[7], 20, p.Text8[7], "20ms"},
        {p.ctSlide7[8], 88, p.Text8[8], "88%"},    {p.ctSlide7[9], 90, p.Text8[9], "90%"},
        {p.ctSlide4, 306, p.Text4, "503Hz"},       {p.ctSlide5, 455, p.Text6, "4.55KHz"},
        {p.ctSlide2, 0, p.Text2, "20Hz"},          {p.ctSlide3, 1230, p.Text3, "12.3KHz"},
        {p.ctSlide1[2], 32, p.Text1[2], "32"},     {p.ctSlide20, 155, p.Text21, "200Hz"},
        {p.ctSlide21, 3, p.Text20, "3dB"},
    };
    for (const Readout& r : readouts) {
        EXPECT_EQ(r.slider->Value(), r.value) << r.text;
        EXPECT_EQ(r.box->Text(), QString::fromUtf8(r.text));
    }
    EXPECT_FLOAT_EQ(p.EQline6->HP_F(), 60.0f);
    EXPECT_FLOAT_EQ(p.EQline6->LP_F(), 190.0f);
    EXPECT_FLOAT_EQ(p.EQline2->HP_F(), 100.0f);
    EXPECT_FLOAT_EQ(p.EQline3->HP_F(), 503.0f);
    EXPECT_FLOAT_EQ(p.EQline3->LP_F(), 4550.0f);
    EXPECT_FLOAT_EQ(p.EQline7->HP_F(), 200.0f);
    EXPECT_EQ(p.state.CenterEffectOn, 71);
    EXPECT_EQ(p.dcButton27->Caption(), QStringLiteral("开"));
    EXPECT_EQ(p.state.SubPhase, 255);
    EXPECT_EQ(p.dcButton12->Caption(), QStringLiteral("180"));
    EXPECT_EQ(p.state.EffectProgram, 5);
    EXPECT_EQ(p.Combo3->ListIndex(), 5);
    // Program 5 (EFF2): the reverb group shown and usable, with its cut filters.
    const QWidget* page = p.Picture1[2];
    EXPECT_FALSE(p.Picture8->isVisibleTo(page));
    EXPECT_TRUE(p.Picture9->isVisibleTo(page));
    EXPECT_TRUE(p.Picture9->isEnabled());
    EXPECT_TRUE(p.Picture7[0]->isEnabled());
}

PageSnapshot snapshot(const PageSet& p) {
    PageSnapshot s;
    for (int n = 1; n <= 7; ++n) {
        const EqPanel& panel = p.eq(n);
        for (std::size_t i = 0; i < panel.strips.size(); ++i) {
            const LkSlide* strip = panel.strips[i];
            const Band graph = panel.graph->band(int(i));
            s.bands.insert(s.bands.end(),
                           {strip->F(), strip->Q(), strip->db(), graph.F, graph.Q, graph.dB});
        }
        s.cutoffs.push_back(panel.graph->HP_F());
        s.cutoffs.push_back(panel.graph->LP_F());
        s.panels.push_back(panel.graph->EQ_BYPASS());
        s.panels.push_back(panel.strips[0]->FEnabled());
    }
    // Every slider and read-out of the window, the volume box and the system page included.
    const QWidget* window = p.Picture1[0]->parentWidget();
    for (const ctSlide* slider : window->findChildren<ctSlide*>()) {
        s.sliders.push_back(slider->Value());
    }
    for (const TextBox* box : window->findChildren<TextBox*>()) {
        s.texts.push_back(box->Text());
    }
    for (const dcButton* button : window->findChildren<dcButton*>()) {
        s.captions.push_back(button->Caption() + QString::number(button->BackColor()));
        s.panels.push_back(button->isVisibleTo(window));
    }
    for (const ComboBox* combo : window->findChildren<ComboBox*>()) {
        s.selections.push_back(combo->ListIndex());
    }
    for (const OptionGroup* group : window->findChildren<OptionGroup*>()) {
        s.selections.push_back(group->selectedIndex());
    }
    for (const QWidget* panel : {p.Picture8, p.Picture9, p.Picture7[0], p.Picture7[1]}) {
        s.panels.push_back(panel->isVisibleTo(window));
        s.panels.push_back(panel->isEnabled());
    }
    const PageState& f = p.state;
    s.fields = {f.ExciterOn, f.CenterEffectOn, f.EffectProgram, f.EqModeParametric,
                f.SubPhase,  f.MuteOn,         f.KeyLockOn};
    return s;
}

} // namespace korvanex::preset_test
