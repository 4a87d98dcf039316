#pragma once
// What a handler leaves for the senders in one go: the operands, the step to send and the
// test the handler makes before it sends (LinkEngine::store applies it).

#include <optional>

namespace korvanex::link {

// The handler's own test: none, the link is up, or the link is up and DeviceReady holds.
enum class StoreTest { Always, LinkUp, LinkUpAndReady };

struct LinkStore {
    StoreTest test = StoreTest::LinkUp;
    // PendingStep := step, then the timer that owns the step is enabled.
    std::optional<int> step{};
    // Brace-initialised, so that designated initialisers may name only the fields they set.
    std::optional<int> StepValue{}, StepIndex{}, SaveModeIndex{}, RecallMode{}, RecallPreset{},
        NextBlock{};
    std::optional<bool> DeviceReady{};
};

} // namespace korvanex::link
