// The link's speed as a user meets it: the real main window, serial control and link engine
// against the simulated unit on a pseudo-terminal at the line rate of 38400 baud (260 us a
// byte) with 2 ms unit latency. Each figure is printed beside the wire-time lower bound of the
// same bytes, together with the longest stall of the window's event loop during the run.
//
//   Connect    click on "连接" to "已连接" (probe, handshake, five block reads)
//   EditToAck  a band edit stored as a pending request to its acknowledgement judged (the
//              15-byte band frame built from the strip at the tick)

#include "app/form1.h"
#include "controls/dc_button.h"
#include "core/messages.h"
#include "eqstrip/lk_slide.h"
#include "link/serial_control.h"
#include "pages/page_set.h"
#include "sim/pty_unit.h"

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

constexpr int kUsPerByte = sim::PtyUnit::kLineRateUsPerByte;
constexpr int kLatencyMs = 2;

// Bytes on the wire of a connection: probe and answer, handshake and acknowledgement, five
// block reads and the blocks.
constexpr int kConnectBytes = (1 + 2) + (9 + 4) + 5 * 12 + (5 * 2 + 86 + 42 + 41 + 42 + 23);
constexpr int kConnectExchanges = 7;
constexpr int kBandBytes = 15 + 4;

double wireMs(int bytes, int exchanges) {
    return bytes * kUsPerByte / 1000.0 + exchanges * kLatencyMs;
}

// The longest gap between beats of a 1 ms timer: how long the event loop was held up.
class StallMeter {
public:
    StallMeter() {
        beat_.setTimerType(Qt::PreciseTimer);
        beat_.setInterval(1);
        QObject::connect(&beat_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            if (last_ >= 0) {
                longestNs_ = std::max(longestNs_, now - last_);
            }
            last_ = now;
        });
        clock_.start();
        beat_.start();
    }
    double longestMs() const { return longestNs_ / 1e6; }

private:
    QTimer beat_;
    QElapsedTimer clock_;
    qint64 last_ = -1;
    qint64 longestNs_ = 0;
};

// The serial control, with a hook run right after each receive event has been handled.
class WatchedLine : public link::SerialLine {
public:
    WatchedLine() {
        inner_.OnComm = [this] {
            if (OnComm) {
                OnComm();
            }
            if (afterComm) {
                afterComm();
            }
        };
        inner_.OnDeviceLost = [this] {
            if (OnDeviceLost) {
                OnDeviceLost();
            }
        };
    }
    bool setSettings(const QString& s) override { return inner_.setSettings(s); }
    QString Settings() const override { return inner_.Settings(); }
    void setCommPort(const QString& p) override { inner_.setCommPort(p); }
    QString CommPort() const override { return inner_.CommPort(); }
    OpenResult Open() override { return inner_.Open(); }
    void Close() override { inner_.Close(); }
    bool PortOpen() const override { return inner_.PortOpen(); }
    QString errorText() const override { return inner_.errorText(); }
    bool Output(const QByteArray& b) override { return inner_.Output(b); }
    QByteArray Input() override { return inner_.Input(); }
    int InBufferCount() const override { return inner_.InBufferCount(); }
    int OutBufferCount() const override { return inner_.OutBufferCount(); }
    void ClearInBuffer() override { inner_.ClearInBuffer(); }
    void ClearOutBuffer() override { inner_.ClearOutBuffer(); }
    void Flush() override { inner_.Flush(); }

    std::function<void()> afterComm;

private:
    link::MSComm inner_;
};

// Runs the event loop until `done` holds; false after `ms`.
bool runUntil(const std::function<bool()>& done, int ms) {
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) {
            loop.quit();
        }
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    poll.start();
    loop.exec();
    return done();
}

struct Rig {
    Rig() {
        unit.setLine({kUsPerByte, kLatencyMs});
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

    sim::PtyUnit unit;
    RecordingPrompter prompter;
    WatchedLine* line = nullptr;
    std::unique_ptr<Form1> window;
};

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(at, v.size() - 1)];
}

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

void EditToAck(benchmark::State& state) {
    Rig rig;
    rig.window->mnulianji()->click();
    if (!runUntil([&] { return rig.connected(); }, 5000)) {
        state.SkipWithError("no connection");
        return;
    }
    runUntil([] { return false; }, 100);
    link::LinkEngine& engine = rig.window->engine();
    // The band request is built from the strip: music band 3 at 1000 Hz, Q 1.0, +3.0 dB.
    rig.window->pageSet().LkSlide1[3]->setVal(1000.0f, 3.0f, 1.0f);
    bool acked = false;
    QElapsedTimer clock;
    double ackedMs = 0;
    rig.line->afterComm = [&] {
        if (!acked && !engine.Timer2().Enabled()) {
            acked = true;
            ackedMs = clock.nsecsElapsed() / 1e6;
        }
    };
    StallMeter stalls;
    std::vector<double> times;
    for (auto _ : state) {
        acked = false;
        clock.start();
        // What the page does on a band edit with the link up.
        engine.store({.test = link::StoreTest::LinkUpAndReady, .step = 2, .StepIndex = 3});
        if (!runUntil([&] { return acked; }, 2000)) {
            state.SkipWithError("no acknowledgement");
            break;
        }
        state.SetIterationTime(ackedMs / 1000);
        times.push_back(ackedMs);
        runUntil([] { return false; }, 3 + static_cast<int>(times.size() % 17)); // vary the phase
    }
    if (!times.empty()) {
        report(state, times, wireMs(kBandBytes, 1), stalls.longestMs());
    }
}

BENCHMARK(Connect)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(EditToAck)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

} // namespace
