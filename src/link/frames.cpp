#include "link/frames.h"

#include "core/numbers.h"

namespace korvanex::link {

QByteArray requestFrame(std::span<const std::uint8_t> body, Checksum checksum) {
    const int trailer = checksum == Checksum::With ? 1 : 0;
    const int n = static_cast<int>(body.size()) + trailer;
    QByteArray frame(7 + n, '\0');
    for (int i = 0; i < 6; ++i) {
        frame[i] = static_cast<char>(kFrameHead[i]);
    }
    frame[6] = static_cast<char>(valueByte(n));
    int pos = 7;
    for (const std::uint8_t b : body) {
        frame[pos++] = static_cast<char>(b);
    }
    if (trailer != 0) {
        frame[pos] = static_cast<char>(frameChecksum(frame.left(pos)));
    }
    return frame;
}

QByteArray requestFrame(std::initializer_list<std::uint8_t> body, Checksum checksum) {
    return requestFrame(std::span<const std::uint8_t>(body.begin(), body.size()), checksum);
}

std::uint8_t frameChecksum(const QByteArray& frame) {
    unsigned sum = 0;
    for (qsizetype i = 7; i < frame.size(); ++i) {
        sum += static_cast<std::uint8_t>(frame[i]);
    }
    return static_cast<std::uint8_t>(sum % 256);
}

QByteArray linkCommandFrame(int value) {
    return requestFrame({0x01, valueByte(value)}, Checksum::Without);
}

QByteArray exitFrame() {
    return linkCommandFrame(kDisconnectCommand);
}

QByteArray blockReadFrame(int recallMode, int recallPreset, int nextBlock) {
    return requestFrame(
        {valueByte(recallMode), valueByte(recallPreset), 0x10, valueByte(nextBlock), 0x08},
        Checksum::Without);
}

} // namespace korvanex::link
