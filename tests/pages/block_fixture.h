#pragma once
// The pages with a link behind them, headless: a fake serial line, a fake clock, a remembering
// connect bar and the recording prompter; wired by the window's own wiring (appliers,
// strip-graph coupling, frames), and every graph given its band count as at start.

#include "core/prompter.h"
#include "link/connect_bar.h"
#include "link/fake_clock.h"
#include "link/link_engine.h"
#include "link/memory_line.h"
#include "pages/eq_coupling.h"
#include "pages/page_appliers.h"
#include "pages/page_set.h"
#include "pages/page_wiring.h"

#include <QWidget>
#include <memory>

namespace korvanex::block_samples {

struct LinkedPages {
    LinkedPages();
    ~LinkedPages();

    // The link-up test holds: port open and the connect button disabled.
    void setLinkUp(bool up);
    // Stores the sample blocks and runs all five appliers in connection order.
    void applyAll();
    // A whole connection through the link: probe, handshake and the five sample blocks,
    // answered as the unit answers.
    void connectWithSamples();

    QWidget window;
    link::MemoryLine line;
    link::MemoryConnectBar bar;
    RecordingPrompter prompter;
    link::FakeClock clock;
    std::unique_ptr<link::LinkEngine> engine;
    std::unique_ptr<PageSet> pages;
    std::unique_ptr<PageWiring> wiring;
    // The wiring's own, by their short names.
    std::unique_ptr<PageAppliers>& appliers;
    std::unique_ptr<EqCoupling>& coupling;
};

} // namespace korvanex::block_samples
