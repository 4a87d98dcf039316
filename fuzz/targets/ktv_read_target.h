#pragma once
// The "*.ktv" reader as a fuzz target: any bytes are refused or read into a record whose
// values lie in their ranges, and a record read from a file writes a file that reads back to
// the same text. A broken promise aborts.

#include <cstddef>
#include <cstdint>

int fuzzKtvRead(const std::uint8_t* data, std::size_t size);
