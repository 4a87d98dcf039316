#pragma once
// LinkTimer over a precise QTimer.

#include "link/link_timer.h"

#include <QTimer>

namespace korvanex::link {

class QtLinkTimer : public LinkTimer {
public:
    QtLinkTimer();

    bool Enabled() const override;
    void setEnabled(bool on) override;
    int Interval() const override;
    void setInterval(int ms) override;

private:
    QTimer timer_;
};

// The factory the window hands to the link engine.
TimerFactory qtTimerFactory();

} // namespace korvanex::link
