#pragma once
// Which timer sends each step, which reply acknowledges it, and how a reply is judged.

#include <QByteArrayView>
#include <cstdint>
#include <optional>

namespace korvanex::link {

enum class Sender { None, Timer2, Timer3 };

// Timer2: 1 to 33, 52, 54 to 58; Timer3: 34 to 51, 53, 59, 60; None otherwise.
Sender stepOwner(int step);

// The acknowledgement 35 82 group item of a parameter step; `length` is 3 where any item of
// the group is accepted (the step sends an item chosen by an index), else 4.
struct AckCode {
    std::uint8_t bytes[4] = {0x35, 0x82, 0, 0};
    int length = 4;
};
// For steps 2 to 51 and 53 to 60; none for 1, 52 and steps outside 1 to 60.
std::optional<AckCode> ackCode(int step);

// Block sizes of the five parameter blocks (1 music 86, 2 microphone A 42, 3 effect 41,
// 4 microphone B 42, 5 system 23); 0 for any other number.
int blockSize(int block);

enum class ReplyKind {
    ProbeAnswer,       // 52 3A, at any step
    HandshakeDone,     // 35 82 01 7F at step 1
    BlockReceived,     // 10 0N at step 52
    DisconnectionDone, // 35 82 01 00 at step 1
    Acknowledged,      // the step's own acknowledgement
    CommunicationError,
};

struct Verdict {
    ReplyKind kind = ReplyKind::CommunicationError;
    int block = 0; // for BlockReceived: the block number the reply carries
};

Verdict judgeReply(int pendingStep, QByteArrayView reply);

// How many bytes make the reply that starts with `head` complete, so it can be judged before
// the 70 ms window ends; none while that cannot be told (or never can).
std::optional<int> completeReplyLength(QByteArrayView head);

} // namespace korvanex::link
