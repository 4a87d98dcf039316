#pragma once
// The simulated unit's reading of the PC's byte stream, as a fuzz target: any bytes, cut into
// any chunks, must be taken apart without a crash, every byte accounted for, every request it
// accepts well formed, and every answer one the protocol knows. A broken promise aborts.

#include <cstddef>
#include <cstdint>

int fuzzUnitFrameParser(const std::uint8_t* data, std::size_t size);
