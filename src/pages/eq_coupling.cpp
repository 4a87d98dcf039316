#include "pages/eq_coupling.h"

#include "controls/dc_button.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "pages/eq_panel.h"
#include "pages/page_set.h"

#include <array>
#include <cassert>

namespace korvanex {

namespace {

// Band, reset and bypass steps by EQline number; the subwoofer's are sent by the second timer,
// which the engine picks from the step.
constexpr std::array<EqSteps, 7> kSteps{{
    {2, 5, 6},    // music
    {8, 12, 13},  // microphone A
    {15, 22, 23}, // effect
    {25, 27, 28}, // main output
    {29, 32, 33}, // centre
    {34, 37, 38}, // subwoofer
    {54, 57, 58}, // microphone B
}};

LkSlide* stripOf(const EqPanel& panel, int Index) {
    if (Index < 0 || std::size_t(Index) >= panel.strips.size()) {
        return nullptr;
    }
    return panel.strips[std::size_t(Index)];
}

} // namespace

EqSteps eqSteps(int equaliser) {
    assert(equaliser >= 1 && equaliser <= 7);
    return kSteps[std::size_t(equaliser - 1)];
}

EqCoupling::EqCoupling(PageSet& pages, link::LinkEngine& link, QObject* parent)
    : QObject(parent), pages_(pages), requests_(link) {
    for (int n = 1; n <= 7; ++n) {
        EqPanel& panel = pages_.eq(n);
        for (int i = 0; i < int(panel.strips.size()); ++i) {
            LkSlide* strip = panel.strips[std::size_t(i)];
            connect(strip, &LkSlide::DBChanged, this,
                    [this, n, i](float v) { stripDBChanged(n, i, v); });
            connect(strip, &LkSlide::FChanged, this,
                    [this, n, i](float v) { stripFChanged(n, i, v); });
            connect(strip, &LkSlide::QChanged, this,
                    [this, n, i](float v) { stripQChanged(n, i, v); });
        }
        connect(panel.graph, &EQline::PEQOUT, this,
                [this, n](int Index, float F, float Q, float db, int) {
                    graphPEQOUT(n, Index, F, Q, db);
                });
        connect(panel.reset, &dcButton::Click, this, [this, n] { resetClick(n); });
        connect(panel.bypass, &dcButton::Click, this, [this, n] { bypassClick(n); });
    }
}

void EqCoupling::stripDBChanged(int equaliser, int Index, float value) {
    pages_.eq(equaliser).graph->setDB(Index, value);
}

void EqCoupling::stripFChanged(int equaliser, int Index, float value) {
    pages_.eq(equaliser).graph->setF(Index, value);
}

void EqCoupling::stripQChanged(int equaliser, int Index, float value) {
    pages_.eq(equaliser).graph->setQ(Index, value);
}

void EqCoupling::graphPEQOUT(int equaliser, int Index, float F, float Q, float db) {
    LkSlide* strip = stripOf(pages_.eq(equaliser), Index);
    if (strip == nullptr) {
        // A band without a strip has nothing to show and no request the sender could build.
        return;
    }
    // Kept whether or not a request follows: every later request stores its own operand.
    requests_.setStepIndex(Index);
    // Setting the strip raises nothing, which ends the round trip here.
    strip->setVal(F, db, Q);
    requests_.request(eqSteps(equaliser).band, {}, link::StoreTest::LinkUpAndReady);
}

void EqCoupling::resetClick(int equaliser) {
    requests_.setDeviceReady(false);
    EqPanel& panel = pages_.eq(equaliser);
    for (int i = 0; i < int(panel.strips.size()); ++i) {
        LkSlide* strip = panel.strips[std::size_t(i)];
        strip->setDb(0.0f);
        // Each band's echo comes back through graphPEQOUT, which queues nothing meanwhile.
        panel.graph->setDB(i, strip->db());
    }
    requests_.request(eqSteps(equaliser).reset);
    requests_.setDeviceReady(true);
}

void EqCoupling::bypassClick(int equaliser) {
    requests_.setDeviceReady(false);
    EqPanel& panel = pages_.eq(equaliser);
    const bool on = !panel.graph->EQ_BYPASS();
    panel.graph->setEQ_BYPASS(on);
    // The button's caption and colour stay; screen readers hear the bypass as its state.
    panel.bypass->setShownState(on);
    // The value goes with the request, never ahead of the link test: during a connection
    // StepValue carries the pending link command, and a bypass value put there would turn it
    // into a disconnection (00) or a command the unit does not know (FF).
    requests_.request(eqSteps(equaliser).bypass, {.StepValue = on ? 255 : 0});
    requests_.setDeviceReady(true);
}

} // namespace korvanex
