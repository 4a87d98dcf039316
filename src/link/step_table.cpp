#include "link/step_table.h"

namespace korvanex::link {

namespace {

struct AckEntry {
    int step;
    std::uint8_t group;
    int item; // -1: any item of the group
};

// The acknowledgement of every parameter step. Steps whose item is chosen by an index at send
// time (20, 21, 30, 35) and the whole-set download (53, no item) accept any item of their
// group.
constexpr AckEntry kAcks[] = {
    {2, 0x02, 0x01},  {3, 0x02, 0x02},  {4, 0x02, 0x03},  {5, 0x02, 0x04},  {6, 0x02, 0x05},
    {7, 0x02, 0x06},  {8, 0x03, 0x01},  {9, 0x03, 0x02},  {10, 0x03, 0x03}, {11, 0x03, 0x04},
    {12, 0x03, 0x05}, {13, 0x03, 0x06}, {14, 0x03, 0x07}, {15, 0x04, 0x01}, {16, 0x04, 0x02},
    {17, 0x04, 0x03}, {18, 0x04, 0x04}, {19, 0x04, 0x05}, {20, 0x04, -1},   {21, 0x04, -1},
    {22, 0x04, 0x18}, {23, 0x04, 0x19}, {24, 0x04, 0x1A}, {25, 0x05, 0x01}, {26, 0x05, 0x02},
    {27, 0x05, 0x03}, {28, 0x05, 0x04}, {29, 0x06, 0x01}, {30, 0x06, -1},   {31, 0x06, 0x04},
    {32, 0x06, 0x05}, {33, 0x06, 0x06}, {34, 0x07, 0x01}, {35, 0x07, -1},   {36, 0x07, 0x06},
    {37, 0x07, 0x07}, {38, 0x07, 0x08}, {39, 0x08, 0x01}, {40, 0x08, 0x02}, {41, 0x08, 0x03},
    {42, 0x08, 0x04}, {43, 0x08, 0x05}, {44, 0x08, 0x06}, {45, 0x08, 0x07}, {46, 0x08, 0x08},
    {47, 0x08, 0x09}, {48, 0x08, 0x0A}, {49, 0x08, 0x0B}, {50, 0x08, 0x0C}, {51, 0x08, 0x0D},
    {53, 0x13, -1},   {54, 0x0D, 0x01}, {55, 0x0D, 0x02}, {56, 0x0D, 0x03}, {57, 0x0D, 0x04},
    {58, 0x0D, 0x05}, {59, 0x08, 0x0E}, {60, 0x08, 0x0F},
};

std::uint8_t at(QByteArrayView bytes, qsizetype i) {
    return static_cast<std::uint8_t>(bytes[i]);
}

bool startsWith(QByteArrayView reply, const std::uint8_t* code, int length) {
    if (reply.size() < length) {
        return false;
    }
    for (int i = 0; i < length; ++i) {
        if (at(reply, i) != code[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

Sender stepOwner(int step) {
    if ((step >= 1 && step <= 33) || step == 52 || (step >= 54 && step <= 58)) {
        return Sender::Timer2;
    }
    if ((step >= 34 && step <= 51) || step == 53 || step == 59 || step == 60) {
        return Sender::Timer3;
    }
    return Sender::None;
}

std::optional<AckCode> ackCode(int step) {
    for (const AckEntry& entry : kAcks) {
        if (entry.step == step) {
            AckCode code;
            code.bytes[2] = entry.group;
            if (entry.item < 0) {
                code.length = 3;
            } else {
                code.bytes[3] = static_cast<std::uint8_t>(entry.item);
            }
            return code;
        }
    }
    return std::nullopt;
}

int blockSize(int block) {
    switch (block) {
    case 1:
        return 86;
    case 2:
    case 4:
        return 42;
    case 3:
        return 41;
    case 5:
        return 23;
    default:
        return 0;
    }
}

Verdict judgeReply(int pendingStep, QByteArrayView reply) {
    static constexpr std::uint8_t kProbeReply[] = {0x52, 0x3A};
    static constexpr std::uint8_t kHandshake[] = {0x35, 0x82, 0x01, 0x7F};
    static constexpr std::uint8_t kDisconnection[] = {0x35, 0x82, 0x01, 0x00};

    // The probe answer wins at any step, and only its two bytes count.
    if (startsWith(reply, kProbeReply, 2)) {
        return {ReplyKind::ProbeAnswer, 0};
    }
    if (pendingStep == 1 && startsWith(reply, kHandshake, 4)) {
        return {ReplyKind::HandshakeDone, 0};
    }
    // The block number comes from the reply, whichever block was asked for.
    if (pendingStep == 52 && reply.size() >= 2 && at(reply, 0) == 0x10 &&
        blockSize(at(reply, 1)) > 0) {
        return {ReplyKind::BlockReceived, at(reply, 1)};
    }
    if (pendingStep == 1 && startsWith(reply, kDisconnection, 4)) {
        return {ReplyKind::DisconnectionDone, 0};
    }
    if (const std::optional<AckCode> ack = ackCode(pendingStep)) {
        if (startsWith(reply, ack->bytes, ack->length)) {
            return {ReplyKind::Acknowledged, 0};
        }
    }
    return {ReplyKind::CommunicationError, 0};
}

std::optional<int> completeReplyLength(QByteArrayView head) {
    if (head.isEmpty()) {
        return std::nullopt;
    }
    const std::uint8_t first = at(head, 0);
    if (first == 0x35) {
        return 4;
    }
    if (head.size() < 2) {
        return std::nullopt;
    }
    const std::uint8_t second = at(head, 1);
    if (first == 0x52 && second == 0x3A) {
        return 2;
    }
    if (first == 0x10 && blockSize(second) > 0) {
        return 2 + blockSize(second);
    }
    return std::nullopt;
}

} // namespace korvanex::link
