#include "link/block_store.h"

#include <span>

namespace korvanex::link {

namespace {

void fill(std::span<QString> elements, QByteArrayView bytes) {
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const auto at = static_cast<qsizetype>(i);
        elements[i] = at < bytes.size()
                          ? QString::fromLatin1(bytes.sliced(at, 1).toByteArray().toHex().toUpper())
                          : QString();
    }
}

} // namespace

void storeBlockBytes(BlockStore& store, int block, QByteArrayView bytes) {
    switch (block) {
    case 1:
        fill(store.MusicBlock, bytes);
        break;
    case 2:
        fill(store.MicABlock, bytes);
        break;
    case 3:
        fill(store.EffectBlock, bytes);
        break;
    case 4:
        fill(store.MicBBlock, bytes);
        break;
    case 5:
        fill(store.SystemBlock, bytes);
        break;
    default:
        break;
    }
}

} // namespace korvanex::link
