#pragma once
// Request frames: A5 67 33 31 31 30, N (the count of the bytes after it), group, item, value
// bytes, and a checksum (sum of the bytes from the group on, modulo 256) where the frame has
// one.

#include <QByteArray>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace korvanex::link {

inline constexpr std::uint8_t kFrameHead[6] = {0xA5, 0x67, 0x33, 0x31, 0x31, 0x30};
inline constexpr std::uint8_t kProbeByte = 0x3F;
inline constexpr int kConnectCommand = 0x7F;
inline constexpr int kDisconnectCommand = 0x00;

enum class Checksum { With, Without };

// The head, N, then `body` (group, item, values), then the checksum when asked for.
QByteArray requestFrame(std::span<const std::uint8_t> body, Checksum checksum);
QByteArray requestFrame(std::initializer_list<std::uint8_t> body, Checksum checksum);

// Sum of the bytes from position 7 to the end of `frame`, modulo 256.
std::uint8_t frameChecksum(const QByteArray& frame);

// Step 1: A5 67 33 31 31 30 02 01 v (7F connects, 00 disconnects), no checksum.
QByteArray linkCommandFrame(int value);
// The frame sent once when the program closes with the port open (step 1 with 00).
QByteArray exitFrame();
// Step 52: A5 67 33 31 31 30 05 RecallMode RecallPreset 10 NextBlock 08, no checksum.
QByteArray blockReadFrame(int recallMode, int recallPreset, int nextBlock);

} // namespace korvanex::link
