#include "pages/requests.h"

#include "link/link_engine.h"

namespace korvanex {

bool Requests::LinkUp() const {
    return link_.LinkUp();
}

bool Requests::request(int step, link::LinkStore with, link::StoreTest test) {
    with.test = test;
    with.step = step;
    return link_.store(with);
}

void Requests::setStepIndex(int index) {
    link::LinkStore s;
    s.test = link::StoreTest::Always;
    s.StepIndex = index;
    link_.store(s);
}

void Requests::setDeviceReady(bool ready) {
    link::LinkStore s;
    s.test = link::StoreTest::Always;
    s.DeviceReady = ready;
    link_.store(s);
}

void Requests::stopTimer3() {
    link_.DisableTimer3();
}

} // namespace korvanex
