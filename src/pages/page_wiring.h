#pragma once
// Joins the pages to the link: the block appliers, the strip-graph coupling, the strips'
// message boxes and the frames the senders write. The window and the headless test pages both
// wire through this one object, so that they run the same program, page change handlers
// included.

#include <QByteArray>
#include <memory>
#include <optional>

namespace korvanex {

class EqCoupling;
class PageAppliers;
class SliderHandlers;
class SwitchHandlers;
class VolumeHandlers;
class PageSet;
class Prompter;

namespace link {
class LinkEngine;
}

class PageWiring {
public:
    PageWiring(PageSet& pages, link::LinkEngine& link, Prompter& prompter);
    // Unhooks the appliers and the frame source from the link before they go.
    ~PageWiring();
    PageWiring(const PageWiring&) = delete;
    PageWiring& operator=(const PageWiring&) = delete;

    // The frame of parameter step `step` from the link's operands and the pages as they stand
    // now; none when the step is dropped (its operand names no control).
    std::optional<QByteArray> frame(int step) const;

    // Owned here; reachable so that a test can run an applier or a handler directly, or drop
    // the coupling.
    std::unique_ptr<PageAppliers> appliers;
    std::unique_ptr<EqCoupling> coupling;
    std::unique_ptr<SwitchHandlers> switches;
    std::unique_ptr<SliderHandlers> sliders;
    std::unique_ptr<VolumeHandlers> volumes;

private:
    PageSet& pages_;
    link::LinkEngine& link_;
};

} // namespace korvanex
