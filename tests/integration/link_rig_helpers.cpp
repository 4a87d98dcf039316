#include "link_rig.h"

#include "controls/dc_button.h"
#include "core/messages.h"
#include "link/full_state_frame.h"
#include "link/qt_link_timer.h"
#include "pages/page_values_reader.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>

namespace korvanex::testing {

LinkRig::LinkRig()
    : engine(line, bar, prompter, link::qtTimerFactory(), [this] { return unit.portPath(); }) {}

bool LinkRig::connect(int ms) {
    engine.mnulianji_Click();
    return waitUntil([this] { return bar.statusText == text(msg::kStatusConnected); }, ms);
}

int LinkRig::boxes(const char* utf8Text) const {
    const QString wanted = text(utf8Text);
    return static_cast<int>(std::count_if(prompter.boxes.begin(), prompter.boxes.end(),
                                          [&](const auto& box) { return box.text == wanted; }));
}

class ClockedUnit::UnitLine : public link::MemoryLine {
public:
    std::function<void(const QByteArray&)> onWrite;
    bool Output(const QByteArray& bytes) override {
        const bool written = MemoryLine::Output(bytes);
        if (written && onWrite) {
            onWrite(bytes);
        }
        return written;
    }
};

ClockedUnit::ClockedUnit(int latencyMs) : latencyMs_(latencyMs), beat_(clock.makeTimer()) {
    auto unitLine = std::make_unique<UnitLine>();
    unitLine->onWrite = [this](const QByteArray& bytes) {
        constexpr std::int64_t kUsPerByte = sim::PtyUnit::kLineRateUsPerByte;
        const std::int64_t receivedUs = clock.now() * 1000 + bytes.size() * kUsPerByte;
        std::int64_t us = receivedUs + latencyMs_ * 1000;
        for (const sim::Transmission& piece : unit.receive(bytes, receivedUs / 1000)) {
            us += piece.gapMs * 1000;
            for (const char byte : piece.bytes) {
                us += kUsPerByte; // each byte arrives once it has crossed the line
                due_.emplace_back((us + 999) / 1000, QByteArray(1, byte));
            }
        }
        // A short answer never overtakes a longer one before it on the line.
        std::stable_sort(due_.begin(), due_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    };
    line = unitLine.get();
    Form1::Options options;
    options.finder = [] { return QStringLiteral("ttyCH341"); };
    options.prompter = &prompter;
    options.fileDialog = &dialog;
    options.quit = [](int) {};
    options.line = std::move(unitLine);
    options.timers = clock.factory();
    options.clock = clock.monotonic();
    window = std::make_unique<Form1>(std::move(options));
    beat_->setInterval(1);
    beat_->onTick = [this] { deliverDue(); };
    beat_->setEnabled(true);
}

ClockedUnit::~ClockedUnit() = default;

void ClockedUnit::deliverDue() {
    QByteArray arrived;
    while (!due_.empty() && due_.front().first <= clock.now()) {
        arrived += due_.front().second;
        due_.pop_front();
    }
    if (!arrived.isEmpty()) {
        line->receive(arrived);
    }
}

bool ClockedUnit::runUntil(const std::function<bool()>& done, int ms) {
    for (int i = 0; i < ms; ++i) {
        if (done()) {
            return true;
        }
        clock.advance(1);
    }
    return done();
}

bool ClockedUnit::connect() {
    window->mnulianji()->click();
    return runUntil([this] { return window->engine().LinkUp(); });
}

bool ClockedUnit::settle() {
    const link::LinkEngine& e = window->engine();
    return runUntil([&] {
        return !e.Timer1().Enabled() && !e.Timer2().Enabled() && !e.Timer3().Enabled() &&
               !e.requestAwaited() && !e.recallOrDownloadRunning() && e.listening() && due_.empty();
    });
}

bool ClockedUnit::nextWrite() {
    const std::size_t before = line->writes.size();
    return runUntil([&] { return line->writes.size() > before; });
}

int ClockedUnit::boxes(const char* utf8Text) const {
    const QString wanted = text(utf8Text);
    return static_cast<int>(std::count_if(prompter.boxes.begin(), prompter.boxes.end(),
                                          [&](const auto& box) { return box.text == wanted; }));
}

QByteArray ClockedUnit::pagesWholeSet() const {
    return link::fullStateFrame(readPageValues(window->pageSet())).mid(8);
}

// A spy waiting on a 1 ms beat runs the real event loop without sleeping in between, so the
// unit's and the link's timers keep their times while a test waits.
bool waitUntil(const std::function<bool()>& done, int ms) {
    QTimer beat;
    beat.setInterval(1);
    beat.start();
    QSignalSpy spy(&beat, &QTimer::timeout);
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() >= ms) {
            return false;
        }
        spy.wait(static_cast<int>(ms - clock.elapsed()));
    }
    return true;
}

} // namespace korvanex::testing
