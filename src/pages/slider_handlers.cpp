#include "pages/slider_handlers.h"

#include "controls/ct_slide.h"
#include "pages/page_set.h"

#include <array>

namespace korvanex {

namespace {

struct Single {
    ctSlide* PageSet::*slider;
    int step;
};

constexpr std::array<Single, 10> kSingles{{
    {&PageSet::ctSlide11, 9},  // microphone A low cut
    {&PageSet::ctSlide20, 55}, // microphone B low cut
    {&PageSet::ctSlide9, 26},  // music low cut of the main output
    {&PageSet::ctSlide2, 16},  // reverb low cut
    {&PageSet::ctSlide4, 18},  // echo low cut
    {&PageSet::ctSlide3, 17},  // reverb high cut, sent from its read-out
    {&PageSet::ctSlide5, 19},  // echo high cut, sent from its read-out
    {&PageSet::ctSlide8, 11},  // microphone A high gain
    {&PageSet::ctSlide21, 56}, // microphone B high gain
    {&PageSet::ctSlide19, 3},  // music output limit
}};

} // namespace

SliderHandlers::SliderHandlers(PageSet& pages, link::LinkEngine& link, QObject* parent)
    : QObject(parent), pages_(pages), requests_(link) {
    for (const Single& s : kSingles) {
        const ctSlide* slider = pages_.*s.slider;
        connect(slider, &ctSlide::SlideChange, this, [this, slider] { SlideChange(slider); });
    }
    auto wire = [this](const auto& row, void (SliderHandlers::*handler)(int)) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            connect(row[i], &ctSlide::SlideChange, this,
                    [this, handler, i] { (this->*handler)(int(i)); });
        }
    };
    wire(pages_.ctSlide6, &SliderHandlers::ctSlide6_SlideChange);
    wire(pages_.ctSlide7, &SliderHandlers::ctSlide7_SlideChange);
    wire(pages_.ctSlide10, &SliderHandlers::ctSlide10_SlideChange);
    wire(pages_.ctSlide12, &SliderHandlers::ctSlide12_SlideChange);
}

void SliderHandlers::SlideChange(const ctSlide* slider) {
    for (const Single& s : kSingles) {
        if (pages_.*s.slider == slider) {
            requests_.request(s.step);
            return;
        }
    }
}

void SliderHandlers::ctSlide6_SlideChange(int Index) {
    requests_.request(20, {.StepIndex = Index});
}

void SliderHandlers::ctSlide7_SlideChange(int Index) {
    requests_.request(21, {.StepIndex = Index});
}

void SliderHandlers::ctSlide10_SlideChange(int Index) {
    requests_.request(30, {.StepValue = Index});
}

void SliderHandlers::ctSlide12_SlideChange(int Index) {
    const auto& cut = pages_.ctSlide12;
    // A low cut moved up to the high cut stops there, and a high cut moved down to the low
    // cut stops there; the read-out (and the graph's pass filter) then show the held value.
    if (Index == 0 && cut[0]->Value() >= cut[1]->Value()) {
        cut[0]->setValue(cut[1]->Value());
        pages_.showReadout(cut[0]);
    } else if (Index == 1 && cut[1]->Value() <= cut[0]->Value()) {
        cut[1]->setValue(cut[0]->Value());
        pages_.showReadout(cut[1]);
    }
    requests_.request(35, {.StepValue = Index});
}

} // namespace korvanex
