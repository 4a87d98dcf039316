#pragma once
// A connection's five blocks as the unit might send them, built byte by byte from the block
// layouts: every field holds a value that differs from its neighbours, so a byte read from the
// wrong place shows in the result.

#include "link/block_store.h"

#include <QString>
#include <array>
#include <span>
#include <vector>

namespace korvanex::block_samples {

// Two upper-case hex digits.
QString hexByte(int byte);

// Writes the bytes into a store from element 0; elements past the bytes become empty.
void fill(std::span<QString> store, const std::vector<int>& bytes);

std::vector<int> musicBytes();  // 86
std::vector<int> micABytes();   // 42
std::vector<int> effectBytes(); // 41
std::vector<int> micBBytes();   // 42
std::vector<int> systemBytes(); // 23

link::BlockStore sampleBlocks();

} // namespace korvanex::block_samples
