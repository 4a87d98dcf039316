// The page handlers as a user meets them: the real main window, serial control and link engine
// against the simulated unit on a pseudo-terminal at 38400 baud (260 us a byte) with 2 ms unit
// latency; and a handler's own work, headless.
//
//   SliderToAckTimer2  the music volume slider moved to the acknowledgement of its request judged:
//                      the first 20 ms tick, 11 + 4 bytes on the wire, the unit's latency
//   SliderToAckTimer3  the music power-on volume slider, sent by the 50 ms sender
//   Drag               a volume slider moved every 5 ms for 2 s, ten times: frames written
//                      against sender ticks, stalls; fails unless the unit ends on the final
//                      value every time
//   HandlerWork        one user move or click with the link up, through its read-out and
//                      handler to the stored request (no port, fake timers)

#include "app/form1.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"
#include "core/messages.h"
#include "link/fake_clock.h"
#include "link/memory_line.h"
#include "link/serial_control.h"
#include "pages/page_set.h"
#include "sim/pty_unit.h"
#include "support/live_measures.h"
#include "support/watched_line.h"
#include "support/window_rig.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
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
constexpr int kValueFrameBytes = 11 + 4; // request and acknowledgement

double wireBoundMs(int tickMs) {
    return tickMs + kValueFrameBytes * kUsPerByte / 1000.0 + kLatencyMs;
}

void idle(int ms) {
    runUntil([] { return false; }, ms);
}

struct Rig : bench::WindowRig {
    Rig() : WindowRig(kLatencyMs) {}
};

// A slider moved as a user moves it, alternating between two values, timed to the judged
// acknowledgement of its request.
void sliderToAck(benchmark::State& state, ctSlide* (*slider)(PageSet&), bool timer3) {
    Rig rig;
    if (!rig.connect()) {
        state.SkipWithError("no connection");
        return;
    }
    link::LinkEngine& engine = rig.window->engine();
    const link::LinkTimer& sender = timer3 ? engine.Timer3() : engine.Timer2();
    ctSlide* s = slider(rig.window->pageSet());
    bool acked = false;
    QElapsedTimer clock;
    double ackedMs = 0;
    rig.line->afterComm = [&] {
        if (!acked && !sender.Enabled()) {
            acked = true;
            ackedMs = clock.nsecsElapsed() / 1e6;
        }
    };
    StallMeter stalls;
    std::vector<double> times;
    for (auto _ : state) {
        acked = false;
        clock.start();
        s->slider()->setValue(times.size() % 2 == 0 ? 20 : 30);
        if (!runUntil([&] { return acked; }, 2000)) {
            state.SkipWithError("no acknowledgement");
            break;
        }
        state.SetIterationTime(ackedMs / 1000);
        times.push_back(ackedMs);
        idle(3 + static_cast<int>(times.size() % 17)); // vary the phase
    }
    if (!times.empty()) {
        state.counters["median_ms"] = percentile(times, 0.5);
        state.counters["p95_ms"] = percentile(times, 0.95);
        state.counters["wire_bound_ms"] = wireBoundMs(timer3 ? 50 : 20);
        state.counters["longest_stall_ms"] = stalls.longestMs();
        state.counters["comm_errors"] = rig.boxes(msg::kCommError);
    }
}

void SliderToAckTimer2(benchmark::State& state) {
    sliderToAck(
        state, [](PageSet& p) { return p.ctSlide1[0]; }, false);
}

void SliderToAckTimer3(benchmark::State& state) {
    sliderToAck(
        state, [](PageSet& p) { return p.ctSlide13; }, true);
}

// Two seconds of a drag: a move every 5 ms, sweeping the volume up and down.
void Drag(benchmark::State& state) {
    Rig rig;
    if (!rig.connect()) {
        state.SkipWithError("no connection");
        return;
    }
    PageSet& pages = rig.window->pageSet();
    ctSlide* volume = pages.ctSlide1[0];
    link::LinkEngine& engine = rig.window->engine();
    int runs = 0;
    int unitHoldsFinal = 0;
    for (auto _ : state) {
        StallMeter stalls;
        const int writesBefore = rig.line->writes;
        const int errorsBefore = rig.boxes(msg::kCommError) + rig.boxes(msg::kNoReply);
        QElapsedTimer clock;
        clock.start();
        int moves = 0;
        QTimer mover;
        mover.setTimerType(Qt::PreciseTimer);
        mover.setInterval(5);
        QObject::connect(&mover, &QTimer::timeout, [&] {
            ++moves;
            const int phase = moves % 120;
            volume->slider()->setValue(10 + (phase < 60 ? phase : 120 - phase));
        });
        mover.start();
        runUntil([&] { return clock.elapsed() >= 2000; }, 3000);
        mover.stop();
        const double dragMs = clock.nsecsElapsed() / 1e6;
        runUntil(
            [&] {
                return !engine.Timer2().Enabled() && !engine.requestAwaited() && engine.listening();
            },
            2000);
        state.SetIterationTime(dragMs / 1000);
        const auto& requests = rig.unit.peer().requests();
        const int last = requests.empty() || requests.back().values.isEmpty()
                             ? -1
                             : quint8(requests.back().values[0]);
        state.counters["moves"] = moves;
        state.counters["frames"] = rig.line->writes - writesBefore;
        state.counters["ticks_20ms"] = dragMs / 20.0;
        state.counters["last_frame_is_final"] = last == volume->Value() ? 1 : 0;
        ++runs;
        unitHoldsFinal += quint8(rig.unit.peer().model().block(5)[0]) == volume->Value();
        state.counters["unit_holds_final"] = unitHoldsFinal;
        state.counters["runs"] = runs;
        state.counters["comm_errors"] =
            rig.boxes(msg::kCommError) + rig.boxes(msg::kNoReply) - errorsBefore;
        state.counters["longest_stall_ms"] = stalls.longestMs();
    }
    if (unitHoldsFinal < runs) {
        state.SkipWithError("the unit does not hold the drag's final value");
    }
}

// The handlers' own work: a window with a port that only remembers and timers that never fire
// on their own, linked, so that every handler stores its request.
void HandlerWork(benchmark::State& state) {
    link::FakeClock clock;
    auto line = std::make_unique<link::MemoryLine>();
    link::MemoryLine* memory = line.get();
    RecordingPrompter prompter;
    Form1::Options options;
    options.finder = [] { return QStringLiteral("ttyMEM0"); };
    options.prompter = &prompter;
    options.quit = [](int) {};
    options.line = std::move(line);
    options.timers = clock.factory();
    Form1 window(std::move(options));
    memory->open = true;
    window.setMnulianjiEnabled(false);
    PageSet& p = window.pageSet();
    const std::vector<std::function<void(int)>> actions{
        [&](int i) { p.ctSlide1[0]->slider()->setValue(20 + i % 2); },   // volume, 3 boxes
        [&](int i) { p.ctSlide14->slider()->setValue(60 + i % 2); },     // maximum, pulls
        [&](int i) { p.ctSlide5->slider()->setValue(455 + i % 2); },     // graph low-pass
        [&](int i) { p.ctSlide12[0]->slider()->setValue(200 + i % 2); }, // clamped pair
        [&](int i) { p.ctSlide7[4]->slider()->setValue(30 + i % 2); },   // reverb time
        [&](int) { p.dcButton27->click(); },                             // caption toggle
        [&](int) { p.dcButton31->click(); },                             // mute
        [&](int i) { p.Option1->button(i % 2)->click(); },               // option
        [&](int) { QTest::keyClick(p.Text1[2], Qt::Key_Return); },       // volume box
    };
    const auto& act = actions[std::size_t(state.range(0))];
    int i = 0;
    for (auto _ : state) {
        act(++i);
    }
}

BENCHMARK(SliderToAckTimer2)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(SliderToAckTimer3)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);
BENCHMARK(Drag)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(HandlerWork)->DenseRange(0, 8)->Unit(benchmark::kMicrosecond);

} // namespace
