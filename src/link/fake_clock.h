#pragma once
// A clock that only moves when told to, with timers that tick on it: lets the link engine's
// timing (20/50 ms senders, the 70 ms reply window) be driven exactly and headless.

#include "link/link_timer.h"
#include "link/monotonic_clock.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace korvanex::link {

class FakeClock {
public:
    FakeClock();
    ~FakeClock();
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    // Milliseconds since the clock was made.
    std::int64_t now() const { return now_; }
    // Moves time forward, firing every due tick in time order (ties in creation order).
    void advance(std::int64_t ms);
    // Advances to the next due tick and fires it; false when no timer runs.
    bool fireNext();
    // A timer on this clock; it must not outlive the clock.
    std::unique_ptr<LinkTimer> makeTimer();
    TimerFactory factory();
    // now() as the link's monotonic clock, for the wire time beside these timers.
    MonotonicClock monotonic() const;

private:
    class Timer;
    friend class Timer;
    std::int64_t now_ = 0;
    std::vector<Timer*> timers_;
    std::shared_ptr<bool> alive_;
};

} // namespace korvanex::link
