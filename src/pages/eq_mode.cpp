#include "pages/eq_mode.h"

#include "core/messages.h"
#include "core/prompter.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "pages/page_set.h"

namespace korvanex {

namespace {

void setStrip(LkSlide* strip, bool on) {
    strip->setQEnabled(on);
    strip->setFEnabled(on);
}

} // namespace

void setEqEditing(PageSet& p, bool on) {
    for (std::size_t i = 0; i < 10; ++i) {
        setStrip(p.LkSlide1[i], on);
        setStrip(p.LkSlide2[i], on);
        setStrip(p.LkSlide7[i], on);
    }
    for (std::size_t i = 0; i < 3; ++i) {
        setStrip(p.LkSlide3[i], on);
        setStrip(p.LkSlide4[i], on);
        setStrip(p.LkSlide5[i], on);
        setStrip(p.LkSlide6[i], on);
    }
    for (EQline* graph :
         {p.EQline1, p.EQline2, p.EQline3, p.EQline4, p.EQline5, p.EQline6, p.EQline7}) {
        graph->setGraphEnabled(on);
    }
}

void canliangeq(PageSet& pages, Prompter& prompter) {
    setEqEditing(pages, true);
    prompter.show(QString::fromUtf8(msg::kEqModeParametric), QString::fromUtf8(msg::kWindowCaption),
                  BoxIcon::Information);
}

void tushieq(PageSet& pages, Prompter& prompter) {
    setEqEditing(pages, false);
    prompter.show(QString::fromUtf8(msg::kEqModeGraphic), QString::fromUtf8(msg::kWindowCaption),
                  BoxIcon::Information);
}

} // namespace korvanex
