#include "pages/output_pages.h"

#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/text_box.h"
#include "core/numbers.h"
#include "eqcurve/eq_line.h"
#include "pages/readouts.h"

#include <QLabel>

namespace korvanex {

namespace {

// Caption and read-out on one line at (8, y), the slider below them.
constexpr int kReadoutLeft = 150;
constexpr int kReadoutWidth = 60;
constexpr int kSliderWidth = kReadoutLeft + kReadoutWidth - 8;

} // namespace

MainOutPage::MainOutPage(QWidget* parent) : PageBase(parent), eq(eqSection(4)) {
    auto* cutLabel = labelAt(QStringLiteral("音乐低切："), 8, 10);
    Text10 = readout(QStringLiteral("20Hz"), cutLabel->text());
    Text10->setGeometry(kReadoutLeft, 8, kReadoutWidth, 22);
    ctSlide9 = slider(0, 155, 0, cutLabel->text());
    ctSlide9->setGeometry(8, 34, kSliderWidth, 24);
    // The main output's graph does not follow its low cut.
    readouts.bind(ctSlide9, Text10, [](int v) { return FilterFreqText(v); });

    eq.build(this);
    LkSlide4 = eq.stripArray<3>();
    EQline4 = eq.graph;
    dcButton23 = eq.reset;
    dcButton24 = eq.bypass;
}

CenterPage::CenterPage(QWidget* parent) : PageBase(parent), eq(eqSection(5)) {
    auto* switchLabel = labelAt(QStringLiteral("效果进中置开关"), 8, 10);
    dcButton27 = new dcButton(QStringLiteral("开"), this);
    dcButton27->setGeometry(kReadoutLeft, 8, kReadoutWidth, 24);
    dcButton27->setLabel(switchLabel->text());

    const std::array<const char*, 2> captions{"中置音乐音量", "中置话筒音量"};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const int y = 48 + int(i) * 56;
        auto* l = labelAt(QString::fromUtf8(captions[i]), 8, y + 2);
        Text11[i] = readout(QStringLiteral("80"), l->text());
        Text11[i]->setGeometry(kReadoutLeft, y, kReadoutWidth, 22);
        ctSlide10[i] = slider(0, 80, 80, l->text());
        ctSlide10[i]->setGeometry(8, y + 26, kSliderWidth, 24);
    }
    // Either slider rewrites both read-outs, each from its own slider.
    for (std::size_t i = 0; i < ctSlide10.size(); ++i) {
        readouts.bind(
            ctSlide10[i], Text11[i], [](int v) { return ValueText(v); },
            [this, i] {
                const std::size_t other = 1 - i;
                Text11[other]->setText(ValueText(ctSlide10[other]->Value()));
            });
    }

    eq.build(this);
    LkSlide5 = eq.stripArray<3>();
    EQline5 = eq.graph;
    dcButton25 = eq.reset;
    dcButton26 = eq.bypass;
}

SubPage::SubPage(QWidget* parent) : PageBase(parent), eq(eqSection(6)) {
    struct Row {
        const char* caption;
        int maximum;
        int value;
        const char* text;
    };
    // "250Hz" is the design text of the high cut, although its value 150 reads 190Hz.
    const std::array<Row, 4> rows{{{"超低低切：", 255, 0, "20Hz"},
                                   {"超低高切：", 255, 150, "250Hz"},
                                   {"话筒打开时低音音量", 80, 30, "30"},
                                   {"话筒关闭时低音音量", 80, 80, "80"}}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int y = 8 + int(i) * 50;
        // Four rows of 50 end just above the graph.
        auto* l = labelAt(QString::fromUtf8(rows[i].caption), 8, y + 2);
        Text12[i] = readout(QString::fromUtf8(rows[i].text), l->text());
        Text12[i]->setGeometry(kReadoutLeft, y, kReadoutWidth, 22);
        ctSlide12[i] = slider(0, rows[i].maximum, rows[i].value, l->text());
        ctSlide12[i]->setGeometry(8, y + 24, kSliderWidth, 22);
    }
    // The phase switch heads a second column.
    const int column = kReadoutLeft + kReadoutWidth + 32;
    auto* phaseLabel = labelAt(QStringLiteral("超低极性"), column, 10);
    dcButton12 = new dcButton(QStringLiteral("180"), this);
    dcButton12->setGeometry(phaseLabel->geometry().right() + 12, 8, kReadoutWidth, 24);
    dcButton12->setLabel(phaseLabel->text());

    eq.build(this);
    LkSlide6 = eq.stripArray<3>();
    EQline6 = eq.graph;
    dcButton28 = eq.reset;
    dcButton29 = eq.bypass;

    // The subwoofer graph's pass filters follow the two cut read-outs.
    readouts.bind(
        ctSlide12[0], Text12[0], [](int v) { return FilterFreqText(v); },
        [this] { EQline6->setHP_F(float(leadingNumber(Text12[0]->Text()))); });
    readouts.bind(
        ctSlide12[1], Text12[1], [](int v) { return FilterFreqText(v); },
        [this] { EQline6->setLP_F(float(leadingNumber(Text12[1]->Text()))); });
    readouts.bind(ctSlide12[2], Text12[2], [](int v) { return ValueText(v); });
    readouts.bind(ctSlide12[3], Text12[3], [](int v) { return ValueText(v); });
}

} // namespace korvanex
