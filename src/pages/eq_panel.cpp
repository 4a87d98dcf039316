#include "pages/eq_panel.h"

#include "controls/dc_button.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "pages/page_base.h"
#include "pages/twips.h"

#include <QLabel>
#include <QWidget>
#include <algorithm>

namespace korvanex {

const EqSection& eqSection(int number) {
    for (const auto& s : kEqSections)
        if (s.number == number)
            return s;
    return kEqSections.front();
}

void EqPanel::build(QWidget* page) {
    const EqSection& section = section_;
    const int stripTop = 120;
    // The captions of the strips' gain, frequency and Q boxes, right-aligned to the first
    // strip.
    const std::array<const char*, 3> captions{"增益", "频率", "Q值"};
    const std::array<int, 3> tops{280, 2440, 2800};
    const int stripLeft = twips(section.firstStripLeft);
    for (std::size_t i = 0; i < captions.size(); ++i) {
        auto* l = new QLabel(QString::fromUtf8(captions[i]), page);
        const QSize hint = l->sizeHint();
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setGeometry(stripLeft - hint.width() - 6, twips(tops[i]), hint.width(), hint.height());
        Label5[i] = l;
    }
    // A strip is one pixel wider than the ten-band step: keep them side by side, not
    // overlapping.
    const int step = std::max(twips(section.stripStep), LkSlide::kWidth);
    for (int b = 0; b < section.bands; ++b) {
        auto* s = new LkSlide(page);
        s->setGeometry(stripLeft + b * step, twips(stripTop), LkSlide::kWidth, LkSlide::kHeight);
        s->setBandNumber(b + 1);
        strips.push_back(s);
    }
    graph = new EQline(page);
    graph->setGeometry(twipRect(0, 3240, 15495, 4575));
    graph->setAccessibleName(QString::fromUtf8(kPageCaptions[std::size_t(section.page)]) +
                             QStringLiteral(" EQ"));
    reset = new dcButton(QStringLiteral("EQ复位"), page);
    reset->setGeometry(twipRect(120, 7860, 1335, 375));
    bypass = new dcButton(QStringLiteral("EQ-BYPASS"), page);
    bypass->setGeometry(twipRect(1680, 7860, 1335, 375));
    // A toggle to screen readers from the start: checked while the graph is bypassed.
    bypass->setShownState(false);
}

} // namespace korvanex
