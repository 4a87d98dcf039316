#pragma once
// Builds the frame of a parameter step (2 to 51, 53 to 60) from the page controls at tick
// time, reading the operands (StepValue, StepIndex, SaveModeIndex) from the engine.
// No result drops the step: its timer stops, nothing is written and nothing counts. An empty
// frame writes nothing but still counts towards the no-reply give-up.

#include <QByteArray>
#include <functional>
#include <optional>

namespace korvanex::link {

using FrameSource = std::function<std::optional<QByteArray>(int step)>;

} // namespace korvanex::link
