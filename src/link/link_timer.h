#pragma once
// The link's timers. Enabling a running timer leaves it running on its old beat: only a
// stopped timer starts (a repeated enable from a dragged slider must not starve the sender).
// An explicit off-then-on restarts it.

#include <functional>
#include <memory>

namespace korvanex::link {

class LinkTimer {
public:
    virtual ~LinkTimer() = default;

    virtual bool Enabled() const = 0;
    // true starts the timer only when it is stopped; false stops it.
    virtual void setEnabled(bool on) = 0;
    virtual int Interval() const = 0;
    virtual void setInterval(int ms) = 0;

    // Runs on every tick while enabled.
    std::function<void()> onTick;
};

using TimerFactory = std::function<std::unique_ptr<LinkTimer>()>;

} // namespace korvanex::link
