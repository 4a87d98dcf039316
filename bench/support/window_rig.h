#pragma once
// The real window on the watched serial control, against the simulated unit on a
// pseudo-terminal at line rate: what the pseudo-terminal benchmarks drive.

#include "app/form1.h"
#include "controls/dc_button.h"
#include "core/messages.h"
#include "core/prompter.h"
#include "live_measures.h"
#include "sim/pty_unit.h"
#include "watched_line.h"

#include <QLabel>
#include <algorithm>
#include <memory>

namespace korvanex::bench {

struct WindowRig {
    explicit WindowRig(int latencyMs) {
        unit.setLine({sim::PtyUnit::kLineRateUsPerByte, latencyMs});
        auto watched = std::make_unique<WatchedLine>();
        line = watched.get();
        Form1::Options options;
        options.finder = [this] { return unit.portPath(); };
        options.prompter = &prompter;
        options.quit = [](int) {};
        options.line = std::move(watched);
        window = std::make_unique<Form1>(std::move(options));
        window->show();
    }
    bool connected() const {
        return window->Label6()->text() == QString::fromUtf8(msg::kStatusConnected);
    }
    // Clicks "连接", waits for the link and lets it settle.
    bool connect() {
        window->mnulianji()->click();
        const bool up = runUntil([this] { return connected(); }, 5000);
        runUntil([] { return false; }, 100);
        return up;
    }
    int boxes(const char* utf8) const {
        return int(std::count_if(prompter.boxes.begin(), prompter.boxes.end(),
                                 [&](const auto& b) { return b.text == QString::fromUtf8(utf8); }));
    }

    sim::PtyUnit unit;
    RecordingPrompter prompter;
    WatchedLine* line = nullptr;
    std::unique_ptr<Form1> window;
};

} // namespace korvanex::bench
