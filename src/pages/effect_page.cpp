#include "pages/effect_page.h"

#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/text_box.h"
#include "core/numbers.h"
#include "eqcurve/eq_line.h"
#include "pages/readouts.h"
#include "pages/twips.h"

#include <QLabel>

namespace korvanex {

namespace {

struct GroupRow {
    const char* caption;
    int maximum;
    int value;
};

constexpr std::array<GroupRow, 8> kEchoRows{{{"回声A次数", 15, 6},
                                             {"回声A延时", 15, 14},
                                             {"回声A音量", 80, 40},
                                             {"回声B音量", 80, 68},
                                             {"回声B高切", 100, 90},
                                             {"左右交替时间差", 127, 63},
                                             {"回声B次数比例", 100, 75},
                                             {"回声B延时", 127, 63}}};

constexpr std::array<GroupRow, 10> kReverbRows{{{"回声次数", 15, 15},
                                                {"回声延时", 15, 14},
                                                {"回声音量", 80, 40},
                                                {"混响音量", 80, 68},
                                                {"混响1时间", 60, 50},
                                                {"混响2时间", 60, 45},
                                                {"混响3时间", 60, 45},
                                                {"混响延时", 40, 20},
                                                {"混响高切1", 100, 88},
                                                {"混响高切2", 100, 90}}};

constexpr int kRowPitch = 40;
constexpr int kColumnWidth = 178;
constexpr int kReadoutLeft = 118;
constexpr int kReadoutWidth = 56;
constexpr int kCutReadoutWidth = 66;

} // namespace

EffectPage::EffectPage(QWidget* parent) : PageBase(parent), eq(eqSection(3)) {
    auto* modeLabel = labelAt(QStringLiteral("效果模式"), 8, 10);
    Combo3 = new ComboBox({"KTV1", "KTV2", "KTV3", "KTV4", "EFF1", "EFF2", "EFF3", "EFF4"}, this);
    Combo3->setGeometry(modeLabel->geometry().right() + 8, 8, 88, 24);
    Combo3->setAccessibleName(modeLabel->text());
    modeLabel->setBuddy(Combo3);

    // A cut filter row inside a group: caption and read-out on one line, slider below.
    auto cutRow = [this](QWidget* group, int y, const QString& caption, int minimum, int maximum,
                         int value, const QString& text, ctSlide*& s, TextBox*& box) {
        labelAt(caption, 0, y + 2, group);
        box = readout(text, caption, group);
        // Wider than the group read-outs: the high cuts reach "10.55KHz".
        const int right = kReadoutLeft - 8 + kReadoutWidth;
        box->setGeometry(right - kCutReadoutWidth, y, kCutReadoutWidth, 20);
        s = slider(minimum, maximum, value, caption, group);
        s->setGeometry(0, y + 22, kReadoutLeft - 8 + kReadoutWidth, 20);
    };
    for (std::size_t g = 0; g < Picture7.size(); ++g) {
        Picture7[g] = new QWidget(this);
        Picture7[g]->setGeometry(twips(120), twips(g == 0 ? 480 : 1800), 168, 86);
    }
    cutRow(Picture7[0], 0, QStringLiteral("混响低切："), 0, 472, 0, QStringLiteral("20Hz"),
           ctSlide2, Text2);
    cutRow(Picture7[0], 44, QStringLiteral("混响高切："), 400, 1800, 400, QStringLiteral("4KHz"),
           ctSlide3, Text3);
    cutRow(Picture7[1], 0, QStringLiteral("回声低切："), 0, 472, 0, QStringLiteral("20Hz"),
           ctSlide4, Text4);
    cutRow(Picture7[1], 44, QStringLiteral("回声高切："), 400, 1800, 400, QStringLiteral("4KHz"),
           ctSlide5, Text6);

    // The echo and reverb groups share one place; each fills two columns top to bottom.
    auto groupRows = [this](QWidget* group, const auto& rows, auto& sliders, auto& boxes,
                            auto rule) {
        const int perColumn = int((rows.size() + 1) / 2);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int x = int(i) / perColumn * (kColumnWidth + 8);
            const int y = int(i) % perColumn * kRowPitch;
            const QString caption = QString::fromUtf8(rows[i].caption);
            labelAt(caption, x, y + 1, group);
            boxes[i] = readout(rule(int(i), rows[i].value), caption, group);
            boxes[i]->setGeometry(x + kReadoutLeft, y, kReadoutWidth, 20);
            sliders[i] = slider(0, rows[i].maximum, rows[i].value, caption, group);
            sliders[i]->setGeometry(x, y + 20, kReadoutLeft + kReadoutWidth, 20);
        }
    };
    const QRect groupPlace(twips(2880), twips(120), 2 * kColumnWidth + 8, 5 * kRowPitch);
    Picture8 = new QWidget(this);
    Picture8->setGeometry(groupPlace);
    groupRows(Picture8, kEchoRows, ctSlide6, Text7, EchoGroupText);
    Picture9 = new QWidget(this);
    Picture9->setGeometry(groupPlace);
    groupRows(Picture9, kReverbRows, ctSlide7, Text8, ReverbGroupText);
    Picture9->hide();

    eq.build(this);
    LkSlide3 = eq.stripArray<3>();
    EQline3 = eq.graph;
    dcButton21 = eq.reset;
    dcButton22 = eq.bypass;

    auto hz = [](int v) { return FilterFreqText(v); };
    auto kHz = [](int v) { return CutoffKHzText(v); };
    readouts.bind(ctSlide2, Text2, hz);
    readouts.bind(ctSlide3, Text3, kHz);
    // The effect graph's pass filters follow the echo cut read-outs.
    readouts.bind(ctSlide4, Text4, hz,
                  [this] { EQline3->setHP_F(float(leadingNumber(Text4->Text()))); });
    readouts.bind(ctSlide5, Text6, kHz,
                  [this] { EQline3->setLP_F(float(leadingNumber(Text6->Text()) * 1000.0)); });
    for (std::size_t i = 0; i < ctSlide6.size(); ++i)
        readouts.bind(ctSlide6[i], Text7[i], [i](int v) { return EchoGroupText(int(i), v); });
    for (std::size_t i = 0; i < ctSlide7.size(); ++i)
        readouts.bind(ctSlide7[i], Text8[i], [i](int v) { return ReverbGroupText(int(i), v); });
}

void EffectPage::showEffectProgram(int program) {
    const EffectPanels p = effectPanelsFor(program);
    Picture8->setVisible(p.echoShown);
    Picture9->setVisible(p.reverbShown);
    Picture8->setEnabled(p.echoEnabled);
    Picture9->setEnabled(p.reverbEnabled);
    Picture7[0]->setEnabled(p.reverbCutEnabled);
}

} // namespace korvanex
