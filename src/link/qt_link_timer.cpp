#include "link/qt_link_timer.h"

namespace korvanex::link {

QtLinkTimer::QtLinkTimer() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
        if (onTick) {
            onTick();
        }
    });
}

bool QtLinkTimer::Enabled() const {
    return timer_.isActive();
}

void QtLinkTimer::setEnabled(bool on) {
    if (!on) {
        timer_.stop();
    } else if (!timer_.isActive()) {
        timer_.start();
    }
}

int QtLinkTimer::Interval() const {
    return timer_.interval();
}

void QtLinkTimer::setInterval(int ms) {
    timer_.setInterval(ms);
}

TimerFactory qtTimerFactory() {
    return [] { return std::make_unique<QtLinkTimer>(); };
}

} // namespace korvanex::link
