#include "link/fake_clock.h"

#include <algorithm>

namespace korvanex::link {

class FakeClock::Timer : public LinkTimer {
public:
    Timer(FakeClock& clock, std::shared_ptr<bool> alive) : clock_(clock), alive_(std::move(alive)) {
        clock_.timers_.push_back(this);
    }
    ~Timer() override {
        if (*alive_) {
            auto& list = clock_.timers_;
            list.erase(std::remove(list.begin(), list.end(), this), list.end());
        }
    }

    bool Enabled() const override { return enabled_; }
    void setEnabled(bool on) override {
        if (on && !enabled_) {
            due_ = clock_.now_ + step();
        }
        enabled_ = on;
    }
    int Interval() const override { return interval_; }
    void setInterval(int ms) override { interval_ = ms; }

    std::int64_t due() const { return due_; }
    void fire() {
        due_ += step();
        if (onTick) {
            onTick();
        }
    }

private:
    // A zero interval would never let time move on.
    std::int64_t step() const { return std::max(interval_, 1); }

    FakeClock& clock_;
    std::shared_ptr<bool> alive_;
    bool enabled_ = false;
    int interval_ = 0;
    std::int64_t due_ = 0;
};

FakeClock::FakeClock() : alive_(std::make_shared<bool>(true)) {}

FakeClock::~FakeClock() {
    *alive_ = false;
}

bool FakeClock::fireNext() {
    Timer* next = nullptr;
    for (Timer* timer : timers_) {
        if (timer->Enabled() && (next == nullptr || timer->due() < next->due())) {
            next = timer;
        }
    }
    if (next == nullptr) {
        return false;
    }
    now_ = std::max(now_, next->due());
    next->fire();
    return true;
}

void FakeClock::advance(std::int64_t ms) {
    const std::int64_t target = now_ + ms;
    for (;;) {
        Timer* next = nullptr;
        for (Timer* timer : timers_) {
            if (timer->Enabled() && timer->due() <= target &&
                (next == nullptr || timer->due() < next->due())) {
                next = timer;
            }
        }
        if (next == nullptr) {
            break;
        }
        now_ = std::max(now_, next->due());
        next->fire();
    }
    now_ = target;
}

std::unique_ptr<LinkTimer> FakeClock::makeTimer() {
    return std::make_unique<Timer>(*this, alive_);
}

TimerFactory FakeClock::factory() {
    return [this] { return makeTimer(); };
}

MonotonicClock FakeClock::monotonic() const {
    return [this] { return std::chrono::milliseconds(now_); };
}

} // namespace korvanex::link
