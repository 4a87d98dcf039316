#include "pages/page_wiring.h"

#include "eqstrip/lk_slide.h"
#include "link/link_engine.h"
#include "link/request_frames.h"
#include "pages/eq_coupling.h"
#include "pages/eq_panel.h"
#include "pages/page_appliers.h"
#include "pages/page_set.h"
#include "pages/page_values_reader.h"
#include "pages/slider_handlers.h"
#include "pages/switch_handlers.h"
#include "pages/volume_handlers.h"

namespace korvanex {

PageWiring::PageWiring(PageSet& pages, link::LinkEngine& link, Prompter& prompter)
    : pages_(pages), link_(link) {
    appliers = std::make_unique<PageAppliers>(pages_, link_, prompter);
    link_.setAppliers(appliers.get());
    // The coupling must stand before the graphs get their start bands, so that the strips
    // show them too.
    coupling = std::make_unique<EqCoupling>(pages_, link_);
    // The pages' read-out bindings are already connected, so a moved slider's read-out is
    // written before its handler clamps and queues.
    switches = std::make_unique<SwitchHandlers>(pages_, link_, prompter);
    sliders = std::make_unique<SliderHandlers>(pages_, link_);
    volumes = std::make_unique<VolumeHandlers>(pages_, link_);
    // The strips report an invalid filter type through the window's message boxes.
    for (int n = 1; n <= 7; ++n) {
        for (LkSlide* strip : pages_.eq(n).strips) {
            strip->setPrompter(&prompter);
        }
    }
    // Until the link tells a dropped step from a built one, a dropped step writes nothing.
    link_.setFrameSource([this](int step) { return frame(step); });
}

PageWiring::~PageWiring() {
    volumes.reset();
    sliders.reset();
    switches.reset();
    link_.setFrameSource({});
    link_.setAppliers(nullptr);
}

std::optional<QByteArray> PageWiring::frame(int step) const {
    const link::StepOperands operands{link_.StepValue, link_.StepIndex, link_.SaveModeIndex};
    return link::parameterFrame(step, operands, readPageValues(pages_));
}

} // namespace korvanex
