#pragma once
// What the pseudo-terminal benchmarks share: running the real event loop until a condition
// holds, measuring how long the loop was held up meanwhile, and percentiles of the times.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

namespace korvanex::bench {

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

// Runs the event loop until `done` holds; false after `ms`.
inline bool runUntil(const std::function<bool()>& done, int ms) {
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

inline double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(at, v.size() - 1)];
}

} // namespace korvanex::bench
