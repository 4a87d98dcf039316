#pragma once
// The real link engine and serial control against the simulated unit on a pseudo-terminal,
// with a connect bar that only remembers and a prompter that records its boxes.

#include "app/form1.h"
#include "core/file_dialog.h"
#include "core/messages.h"
#include "core/prompter.h"
#include "link/connect_bar.h"
#include "link/fake_clock.h"
#include "link/link_engine.h"
#include "link/memory_line.h"
#include "link/serial_control.h"
#include "sim/pty_unit.h"
#include "sim/unit_peer.h"

#include <QString>
#include <deque>
#include <functional>
#include <memory>

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

// The real window on the fake clock, its line played by the simulated unit's protocol peer: a
// frame reaches the unit when its last byte has crossed the line (260 us a byte), and the
// unit's answer starts `latencyMs` after that, its bytes arriving at the same line rate.
class ClockedUnit {
public:
    explicit ClockedUnit(int latencyMs = 2);
    ~ClockedUnit();

    // Moves the clock until `done` holds (true) or `ms` have passed (false).
    bool runUntil(const std::function<bool()>& done, int ms = 3000);
    // Clicks "连接" and runs until "已连接".
    bool connect();
    // Runs until no timer sends, no request is awaited or put off and no answer is due.
    bool settle();
    // Runs until the program has written another frame.
    bool nextWrite();
    int boxes(const char* utf8Text) const;
    // The 212 value bytes of the whole set as the pages would send it now.
    QByteArray pagesWholeSet() const;

    link::FakeClock clock;
    sim::UnitPeer unit;
    RecordingPrompter prompter;
    ScriptedFileDialog dialog;
    link::MemoryLine* line = nullptr; // what the program wrote
    std::unique_ptr<Form1> window;

private:
    class UnitLine;
    void deliverDue();

    int latencyMs_;
    std::deque<std::pair<std::int64_t, QByteArray>> due_;
    std::unique_ptr<link::LinkTimer> beat_;
};

// Runs the event loop until `done` holds or `ms` have passed.
bool waitUntil(const std::function<bool()>& done, int ms = 5000);

using msg::text;

} // namespace korvanex::testing
