#include "presets/page_record.h"

#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/text_box.h"
#include "eqstrip/lk_slide.h"
#include "pages/block_layout.h"
#include "pages/eq_panel.h"
#include "pages/page_appliers.h"
#include "pages/page_set.h"

#include <cstdint>
#include <span>

namespace korvanex {

namespace {

using ktv::LineKind;

// The equalisers in file order, one per run of band lines.
constexpr std::array<int, 7> kEqualisers{1, 4, 5, 6, 2, 3, 7};

// The sliders of the slider lines, in file order. The bass volumes stand with the microphone
// closed first, as in the unit's music block.
std::array<ctSlide*, ktv::kSliderCount> sliders(const PageSet& p) {
    const auto& e = p.ctSlide6;
    const auto& r = p.ctSlide7;
    return {p.ctSlide19,    p.ctSlide9,     p.ctSlide10[0], p.ctSlide10[1], p.ctSlide12[0],
            p.ctSlide12[1], p.ctSlide12[3], p.ctSlide12[2], p.ctSlide11,    p.ctSlide8,
            e[0],           e[1],           e[2],           e[3],           e[4],
            e[5],           e[6],           e[7],           r[0],           r[1],
            r[2],           r[3],           r[4],           r[5],           r[6],
            r[7],           r[8],           r[9],           p.ctSlide4,     p.ctSlide5,
            p.ctSlide2,     p.ctSlide3,     p.ctSlide1[2],  p.ctSlide20,    p.ctSlide21};
}

std::array<TextBox*, ktv::kReadoutCount> readouts(const PageSet& p) {
    return {p.Text19, p.Text4, p.Text6, p.Text2, p.Text3};
}

// Fields: effect into centre, subwoofer phase, effect program.
void applyField(PageSet& p, std::size_t index, int value) {
    const auto field = static_cast<std::int16_t>(value);
    switch (index) {
    case 0:
        p.state.CenterEffectOn = field;
        p.dcButton27->setCaption(value != 0 ? QStringLiteral("开") : QStringLiteral("关"));
        break;
    case 1:
        p.state.SubPhase = field;
        p.dcButton12->setCaption(value != 0 ? QStringLiteral("180") : QStringLiteral("0"));
        break;
    default:
        // A program past the list leaves the list as it stands, as the effect block does.
        p.state.EffectProgram = field;
        if (value < kEffectProgramCount) {
            p.Combo3->setListIndex(value);
        }
        p.showEffectProgram();
        break;
    }
}

} // namespace

ktv::ParameterRecord gatherRecord(const PageSet& pages) {
    ktv::ParameterRecord record;
    std::size_t band = 0;
    for (int number : kEqualisers) {
        for (const LkSlide* strip : pages.eq(number).strips) {
            record.bands[band++] = Band{strip->F(), strip->Q(), strip->db()};
        }
    }
    const auto sliderList = sliders(pages);
    for (std::size_t i = 0; i < sliderList.size(); ++i) {
        record.sliders[i] = sliderList[i]->Value();
    }
    const auto readoutList = readouts(pages);
    for (std::size_t i = 0; i < readoutList.size(); ++i) {
        record.readouts[i] = readoutList[i]->Text();
    }
    record.fields = {pages.state.CenterEffectOn, pages.state.SubPhase, pages.state.EffectProgram};
    return record;
}

void applyRecord(PageSet& pages, const ktv::ParameterRecord& record) {
    const auto sliderList = sliders(pages);
    std::size_t band = 0, equaliser = 0, slider = 0, field = 0;
    for (const ktv::LineRun& run : ktv::kLayout) {
        const auto count = std::size_t(run.count);
        switch (run.kind) {
        case LineKind::Band:
            applyEqSection(pages, kEqualisers[equaliser++],
                           std::span<const Band>(record.bands).subspan(band, count));
            band += count;
            break;
        case LineKind::Slider:
            for (std::size_t k = 0; k < count; ++k, ++slider) {
                sliderList[slider]->setValue(record.sliders[slider]);
                pages.showReadout(sliderList[slider]);
            }
            break;
        case LineKind::Readout:
            break;
        case LineKind::Field:
            for (std::size_t k = 0; k < count; ++k, ++field) {
                applyField(pages, field, record.fields[field]);
            }
            break;
        }
    }
}

} // namespace korvanex
