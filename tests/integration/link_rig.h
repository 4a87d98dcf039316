#pragma once
// The real link engine and serial control against the simulated unit on a pseudo-terminal,
// with a connect bar that only remembers and a prompter that records its boxes.

#include "core/messages.h"
#include "core/prompter.h"
#include "link/connect_bar.h"
#include "link/link_engine.h"
#include "link/serial_control.h"
#include "sim/pty_unit.h"

#include <QString>
#include <functional>

namespace korvanex::testing {

struct LinkRig {
    LinkRig();

    sim::PtyUnit unit;
    link::MSComm line;
    link::MemoryConnectBar bar;
    RecordingPrompter prompter;
    link::LinkEngine engine;

    // Clicks connect and waits for "已连接"; false when it did not come in time.
    bool connect(int ms = 5000);
    // Boxes with this text shown so far.
    int boxes(const char* utf8Text) const;
    // Well-formed requests of this kind the unit received so far.
    int received(sim::RequestKind kind) const { return unit.peer().countOf(kind); }
};

// Runs the event loop until `done` holds or `ms` have passed.
bool waitUntil(const std::function<bool()>& done, int ms = 5000);

using msg::text;

} // namespace korvanex::testing
