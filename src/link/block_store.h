#pragma once
// The five parameter blocks as the receiver stores them: one two-digit upper-case hex string
// per byte, indexed from 0. An element is empty when the reply was too short; appliers read an
// empty element as 0.

#include <QByteArrayView>
#include <QString>
#include <array>

namespace korvanex::link {

struct BlockStore {
    std::array<QString, 86> MusicBlock;  // block 1: music page, main, centre, subwoofer
    std::array<QString, 42> MicABlock;   // block 2: microphone A
    std::array<QString, 41> EffectBlock; // block 3: echo and reverb
    std::array<QString, 42> MicBBlock;   // block 4: microphone B
    std::array<QString, 23> SystemBlock; // block 5: system settings, equaliser mode
};

// Stores the bytes of block 1..5 (the reply without its two leading bytes) as hex texts.
// Bytes missing at the end leave their elements empty; bytes beyond the block are ignored;
// another block number stores nothing.
void storeBlockBytes(BlockStore& store, int block, QByteArrayView bytes);

} // namespace korvanex::link
