#include "pages/page_values_reader.h"

#include "controls/ct_slide.h"
#include "controls/text_box.h"
#include "eqstrip/lk_slide.h"
#include "pages/page_set.h"

namespace korvanex {

namespace {

template <std::size_t N>
void readStrips(std::array<link::StripBand, N>& out, const std::array<LkSlide*, N>& strips) {
    for (std::size_t i = 0; i < N; ++i) {
        out[i] = {strips[i]->db(), strips[i]->Q(), strips[i]->F()};
    }
}

template <std::size_t N>
void readSliders(std::array<int, N>& out, const std::array<ctSlide*, N>& sliders) {
    for (std::size_t i = 0; i < N; ++i) {
        out[i] = sliders[i]->Value();
    }
}

} // namespace

link::PageValues readPageValues(const PageSet& pages) {
    link::PageValues v;
    readStrips(v.LkSlide1, pages.LkSlide1);
    readStrips(v.LkSlide2, pages.LkSlide2);
    readStrips(v.LkSlide3, pages.LkSlide3);
    readStrips(v.LkSlide4, pages.LkSlide4);
    readStrips(v.LkSlide5, pages.LkSlide5);
    readStrips(v.LkSlide6, pages.LkSlide6);
    readStrips(v.LkSlide7, pages.LkSlide7);

    readSliders(v.ctSlide1, pages.ctSlide1);
    v.ctSlide2 = pages.ctSlide2->Value();
    v.ctSlide4 = pages.ctSlide4->Value();
    readSliders(v.ctSlide6, pages.ctSlide6);
    readSliders(v.ctSlide7, pages.ctSlide7);
    v.ctSlide8 = pages.ctSlide8->Value();
    v.ctSlide9 = pages.ctSlide9->Value();
    readSliders(v.ctSlide10, pages.ctSlide10);
    v.ctSlide11 = pages.ctSlide11->Value();
    readSliders(v.ctSlide12, pages.ctSlide12);
    v.ctSlide13 = pages.ctSlide13->Value();
    v.ctSlide14 = pages.ctSlide14->Value();
    v.ctSlide15 = pages.ctSlide15->Value();
    v.ctSlide16 = pages.ctSlide16->Value();
    v.ctSlide17 = pages.ctSlide17->Value();
    v.ctSlide18 = pages.ctSlide18->Value();
    v.ctSlide19 = pages.ctSlide19->Value();
    v.ctSlide20 = pages.ctSlide20->Value();
    v.ctSlide21 = pages.ctSlide21->Value();

    v.Text3 = pages.Text3->Text();
    v.Text6 = pages.Text6->Text();

    v.ExciterOn = pages.state.ExciterOn;
    v.CenterEffectOn = pages.state.CenterEffectOn;
    v.SubPhase = pages.state.SubPhase;
    v.EffectProgram = pages.state.EffectProgram;
    return v;
}

} // namespace korvanex
