#pragma once
// Builds the frame of a parameter step (2 to 51, 53 to 60) from the page controls at tick
// time, reading the operands (StepValue, StepIndex, SaveModeIndex) from the engine. An empty
// result means the step has no frame: nothing is written, but the send still counts.

#include <QByteArray>
#include <functional>

namespace korvanex::link {

using FrameSource = std::function<QByteArray(int step)>;

} // namespace korvanex::link
