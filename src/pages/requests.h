#pragma once
// The one way a page handler leaves a request for the senders. A handler does its display work
// first, whatever the link; then, only while the link is up (and, for a section recall, the
// unit is ready), it stores the step's operand and the step, and the timer that owns the step
// is started. With the link down nothing is stored: during a connection the port is open and
// the connection's own link command or block read is pending, which a stored step would
// replace.
//
// Everything goes through LinkEngine::store, so a request made while a written request awaits
// its answer (or a recall or download runs) follows it, its test made again then.

#include "link/link_store.h"

namespace korvanex {

namespace link {
class LinkEngine;
}

class Requests {
public:
    explicit Requests(link::LinkEngine& link) : link_(link) {}

    // The serial port is open and the connect button's own enabled flag is off.
    bool LinkUp() const;

    // When `test` holds: the operands and flags set in `with`, then PendingStep := step, then
    // the owner timer of the step is enabled (the other timer is left alone). Returns whether
    // the request was stored now.
    bool request(int step, link::LinkStore with = {},
                 link::StoreTest test = link::StoreTest::LinkUp);

    // Written whatever the link: the band a graph reported last, and the flag the equaliser
    // reset and bypass hold down while their echoes run.
    void setStepIndex(int index);
    void setDeviceReady(bool ready);

    // Stops the second sender. The engine offers its timers read-only; stopping one is what
    // its own handlers do too.
    void stopTimer3();

private:
    link::LinkEngine& link_;
};

} // namespace korvanex
