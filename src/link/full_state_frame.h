#pragma once
// The whole-set download (step 53): 220 bytes, A5 67 33 31 31 30, D5, group 13, then 212
// parameter bytes and no checksum. The parameter bytes repeat the unit's blocks: music 0..85,
// microphone A 0..41, effect 1..40, microphone B 0..41, then the effect volume (system byte
// 10) and the effect program (effect byte 0) last. Every byte comes from the pages as they
// stand, never from the blocks last received; gains and Q go the whole-set road.

#include "link/page_values.h"

#include <QByteArray>

namespace korvanex::link {

inline constexpr int kFullStateFrameSize = 220;

QByteArray fullStateFrame(const PageValues& pages);

} // namespace korvanex::link
