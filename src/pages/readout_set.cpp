#include "pages/readout_set.h"

#include "controls/ct_slide.h"
#include "controls/text_box.h"

namespace korvanex {

void ReadoutSet::bind(ctSlide* slider, TextBox* box, Rule rule, std::function<void()> after) {
    bindings_.push_back({slider, box, std::move(rule), std::move(after)});
    QObject::connect(slider, &ctSlide::SlideChange, box, [this, slider] { show(slider); });
}

bool ReadoutSet::show(const ctSlide* slider) const {
    bool found = false;
    for (const auto& b : bindings_) {
        if (b.slider == slider) {
            apply(b);
            found = true;
        }
    }
    return found;
}

void ReadoutSet::showAll() const {
    for (const auto& b : bindings_)
        apply(b);
}

void ReadoutSet::apply(const Binding& b) const {
    if (auto text = b.rule(b.slider->Value()))
        b.box->setText(*text);
    if (b.after)
        b.after();
}

} // namespace korvanex
