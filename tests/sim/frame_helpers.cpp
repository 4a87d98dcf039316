#include "frame_helpers.h"

namespace korvanex::sim::testing {

namespace {
const QByteArray kHead("\xA5\x67\x33\x31\x31\x30", 6);
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

QByteArray frameWithChecksum(std::initializer_list<int> body) {
    int sum = 0;
    for (const int v : body) {
        sum += v;
    }
    QByteArray out = kHead;
    out.append(static_cast<char>(body.size() + 1));
    out.append(bytes(body));
    out.append(static_cast<char>(sum % 256));
    return out;
}

QByteArray linkFrame(int command) {
    return kHead + bytes({2, 1, command});
}

QByteArray blockReadFrame(int recallMode, int preset, int block) {
    return kHead + bytes({5, recallMode, preset, 0x10, block, 8});
}

QByteArray wholeSetFrame(const QByteArray& values212) {
    return kHead + bytes({0xD5, 0x13}) + values212;
}

} // namespace korvanex::sim::testing
