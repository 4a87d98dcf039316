#pragma once
// Sets a flag for exactly as long as a scope runs: guards against re-entry from the event
// loops that message boxes and dialogs run.

namespace korvanex {

class BusyScope {
public:
    explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& flag_;
};

} // namespace korvanex
