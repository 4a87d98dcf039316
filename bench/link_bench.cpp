// The link's speed as a user meets it: the real main window, serial control and link engine
// against the simulated unit on a pseudo-terminal at the line rate of 38400 baud (260 us a
// byte) with 2 ms unit latency. Each figure is printed beside the wire-time lower bound of the
// same bytes, together with the longest stall of the window's event loop during the run.
//
//   Connect        click on "连接" to "已连接" (probe, handshake, five block reads)
//   MusicBandEdit  a gain edit on a music band strip to its acknowledgement judged: the first
//                  20 ms tick, the 15-byte band frame built from the strip, the 4-byte answer
//   SubwooferBand  the same on the subwoofer strip, whose sender beats every 50 ms
//   WholeSet       the whole-set download stored (as a file load stores it) to its
//                  acknowledgement: the first 50 ms tick, 220 bytes, the answer; one frame
//                  written per download, since nothing is written while it is on the wire
#include "app/form1.h"
#include "controls/dc_button.h"
#include "core/messages.h"
#include "eqstrip/lk_slide.h"
#include "link/serial_control.h"
#include "pages/eq_panel.h"
#include "pages/page_set.h"
#include "sim/pty_unit.h"
#include "support/live_measures.h"
#include "support/watched_line.h"
#include "support/window_rig.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace korvanex;
using bench::percentile;
using bench::runUntil;
using bench::StallMeter;
using bench::WatchedLine;

constexpr int kUsPerByte = sim::PtyUnit::kLineRateUsPerByte;
constexpr int kLatencyMs = 2;

// Bytes on the wire of a connection: probe and answer, handshake and acknowledgement, five
// block reads and the blocks.
constexpr int kConnectBytes = (1 + 2) + (9 + 4) + 5 * 12 + (5 * 2 + 86 + 42 + 41 + 42 + 23);
constexpr int kConnectExchanges = 7;
constexpr int kBandBytes = 15 + 4;
constexpr int kWholeSetBytes = 220 + 4;

double wireMs(int bytes, int exchanges, int firstTickMs = 0) {
    return firstTickMs + bytes * kUsPerByte / 1000.0 + exchanges * kLatencyMs;
}

struct Rig : bench::WindowRig {
    Rig() : WindowRig(kLatencyMs) {}
};

void report(benchmark::State& state, const std::vector<double>& ms, double wire, double stall) {
    state.counters["median_ms"] = percentile(ms, 0.5);
    state.counters["p95_ms"] = percentile(ms, 0.95);
    state.counters["wire_bound_ms"] = wire;
    state.counters["longest_stall_ms"] = stall;
}

void Connect(benchmark::State& state) {
    Rig rig;
    runUntil([] { return false; }, 300); // the window's first paint is not the link's
    StallMeter stalls;
    std::vector<double> times;
    QElapsedTimer clock;
    double connectedMs = 0;
    rig.line->afterComm = [&] {
        if (connectedMs == 0 && rig.connected()) {
            connectedMs = clock.nsecsElapsed() / 1e6;
        }
    };
    for (auto _ : state) {
        connectedMs = 0;
        clock.start();
        rig.window->mnulianji()->click();
        if (!runUntil([&] { return connectedMs > 0; }, 5000)) {
            state.SkipWithError("no connection");
            break;
        }
        state.SetIterationTime(connectedMs / 1000);
        times.push_back(connectedMs);
        rig.window->mnutuoji()->click();
        runUntil([&] { return !rig.line->PortOpen(); }, 5000);
        runUntil([] { return false; }, 100); // let late resends die out
    }
    if (!times.empty()) {
        report(state, times, wireMs(kConnectBytes, kConnectExchanges), stalls.longestMs());
    }
}

// Times `store` (which queues one request, iteration `i`) to the moment the acknowledgement
// stops `sender`, over a linked window.
void timeToAck(benchmark::State& state, const std::function<void(Rig&, int)>& store,
               const std::function<const link::LinkTimer&(link::LinkEngine&)>& sender,
               double wire) {
    Rig rig;
    rig.window->mnulianji()->click();
    if (!runUntil([&] { return rig.connected(); }, 5000)) {
        state.SkipWithError("no connection");
        return;
    }
    runUntil([] { return false; }, 100);
    link::LinkEngine& engine = rig.window->engine();
    const link::LinkTimer& timer = sender(engine);
    bool acked = false;
    QElapsedTimer clock;
    double ackedMs = 0;
    rig.line->afterComm = [&] {
        if (!acked && !timer.Enabled()) {
            acked = true;
            ackedMs = clock.nsecsElapsed() / 1e6;
        }
    };
    const int setsBefore = rig.unit.peer().countOf(sim::RequestKind::WholeSet);
    StallMeter stalls;
    std::vector<double> times;
    for (auto _ : state) {
        acked = false;
        clock.start();
        store(rig, static_cast<int>(times.size()));
        if (!runUntil([&] { return acked; }, 2000)) {
            state.SkipWithError("no acknowledgement");
            break;
        }
        state.SetIterationTime(ackedMs / 1000);
        times.push_back(ackedMs);
        runUntil([] { return false; }, 3 + static_cast<int>(times.size() % 17)); // vary the phase
    }
    if (!times.empty()) {
        report(state, times, wire, stalls.longestMs());
        const int sets = rig.unit.peer().countOf(sim::RequestKind::WholeSet) - setsBefore;
        state.counters["whole_sets_per_run"] = double(sets) / double(times.size());
        int failures = 0;
        for (const auto& box : rig.prompter.boxes) {
            failures += box.text == QString::fromUtf8(msg::kCommError) ||
                        box.text == QString::fromUtf8(msg::kNoReply);
        }
        state.counters["error_boxes"] = failures;
    }
}

// A gain edit as the strip reports it when its knob or gain box changes, alternating so that
// every edit moves the band: the page couples it to the graph, which queues the band request.
void bandEdit(Rig& rig, int equaliser, int band, int i) {
    LkSlide* strip = rig.window->pageSet().eq(equaliser).strips[std::size_t(band)];
    emit strip->DBChanged(i % 2 == 0 ? 3.0f : -3.0f);
}

void MusicBandEdit(benchmark::State& state) {
    timeToAck(
        state, [](Rig& rig, int i) { bandEdit(rig, 1, 3, i); },
        [](link::LinkEngine& e) -> const link::LinkTimer& { return e.Timer2(); },
        wireMs(kBandBytes, 1, 20));
}

void SubwooferBand(benchmark::State& state) {
    timeToAck(
        state, [](Rig& rig, int i) { bandEdit(rig, 6, 1, i); },
        [](link::LinkEngine& e) -> const link::LinkTimer& { return e.Timer3(); },
        wireMs(kBandBytes, 1, 50));
}

// Stored as the file load stores it: not ready while the download runs, then step 53.
void WholeSet(benchmark::State& state) {
    timeToAck(
        state,
        [](Rig& rig, int) {
            link::LinkEngine& e = rig.window->engine();
            e.store({.test = link::StoreTest::Always, .DeviceReady = false});
            e.store({.test = link::StoreTest::LinkUp, .step = 53});
        },
        [](link::LinkEngine& e) -> const link::LinkTimer& { return e.Timer3(); },
        wireMs(kWholeSetBytes, 1, 50));
}

BENCHMARK(Connect)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(MusicBandEdit)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);
BENCHMARK(SubwooferBand)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(WholeSet)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace
