#include "pages/mic_page.h"

#include "controls/colors.h"
#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/text_box.h"
#include "core/numbers.h"
#include "eqcurve/eq_line.h"
#include "pages/readouts.h"

#include <QLabel>

namespace korvanex {

MicPage::MicPage(bool micB, QWidget* parent)
    : PageBase(parent), eq(eqSection(micB ? 7 : 2)), micB_(micB) {
    const QString mic = micB ? QStringLiteral("话筒B") : QStringLiteral("话筒A");

    auto* modeLabel = labelAt(mic + QStringLiteral("模式"), 8, 10);
    combo = new ComboBox({"Mic1", "Mic2", "Mic3", "Mic4", "Mic5", "Mic6"}, this);
    combo->setGeometry(modeLabel->geometry().right() + 8, 8, 88, 24);
    combo->setAccessibleName(modeLabel->text());
    modeLabel->setBuddy(combo);

    auto* cutLabel = labelAt(mic + QStringLiteral("低切"), 8, 58);
    lowCutText = readout(QStringLiteral("50Hz"), cutLabel->text());
    lowCutText->setGeometry(118, 56, 56, 22);
    lowCut = slider(0, 155, 80, cutLabel->text());
    lowCut->setGeometry(8, 82, 166, 24);

    auto* gainLabel = labelAt(mic + QStringLiteral("高频增益"), 8, 120);
    highGainText = readout(QStringLiteral("0dB"), gainLabel->text());
    highGainText->setGeometry(118, 118, 56, 22);
    highGain = slider(0, 3, 0, gainLabel->text());
    highGain->setGeometry(8, 144, 166, 24);

    if (!micB) {
        // Kept for the System block, which still marks the chosen button; never shown.
        feedbackLabel = labelAt(QStringLiteral("话筒反馈"), 8, 176);
        feedbackLabel->hide();
        const std::array<const char*, 4> captions{"OFF", "1", "2", "3"};
        for (std::size_t i = 0; i < captions.size(); ++i) {
            auto* b = new dcButton(QString::fromLatin1(captions[i]), this);
            b->setGeometry(8 + int(i) * 42, 194, 38, 20);
            b->setAccessibleDescription(feedbackLabel->text());
            b->setOnColours({kColorSelected});
            b->hide();
            dcButton19[i] = b;
        }
        dcButton19[0]->setBackColor(kColorSelected);
    }

    eq.build(this);
    strips = eq.stripArray<10>();
    graph = eq.graph;
    reset = eq.reset;
    bypass = eq.bypass;

    // The graph's high-pass follows the low-cut read-out.
    readouts.bind(
        lowCut, lowCutText, [](int v) { return FilterFreqText(v); },
        [this] { graph->setHP_F(float(leadingNumber(lowCutText->Text()))); });
    readouts.bind(highGain, highGainText, [](int v) { return ValueText(v, "dB"); });
}

} // namespace korvanex
