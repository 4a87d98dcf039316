#pragma once
// The link's sense of time beside its timers: a monotonic clock with sub-millisecond
// resolution (a byte takes 260.4 us at 38400 baud), used to tell when a written frame has left
// the wire. The window uses the steady clock beside its Qt timers; tests use the fake clock.

#include <chrono>
#include <functional>

namespace korvanex::link {

using MonotonicClock = std::function<std::chrono::nanoseconds()>;

inline MonotonicClock steadyClock() {
    return [] {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    };
}

} // namespace korvanex::link
