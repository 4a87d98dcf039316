#pragma once
// The link engine's reply receiver as a fuzz target: any bytes, cut into any chunks at any
// pace, at any pending step and link state, must be gathered and judged without a crash, and
// leave the engine in a consistent state. A broken promise aborts.

#include <cstddef>
#include <cstdint>

int fuzzReplyJudge(const std::uint8_t* data, std::size_t size);
