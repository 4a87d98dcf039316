#include "link_rig.h"

#include "core/messages.h"
#include "link/qt_link_timer.h"

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
