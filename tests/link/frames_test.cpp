#include "link/frames.h"
#include "link/port_finder.h"
#include "link/step_table.h"
#include "link_test_helpers.h"

#include <gtest/gtest.h>

using namespace korvanex::link;
using korvanex::link::testing::hex;

// Catches a wrong envelope, N, or a checksum on the frames that carry none.
TEST(Frames, LinkFramesAreByteExact) {
    EXPECT_EQ(linkCommandFrame(kConnectCommand), hex("A5 67 33 31 31 30 02 01 7F"));
    EXPECT_EQ(linkCommandFrame(kDisconnectCommand), hex("A5 67 33 31 31 30 02 01 00"));
    EXPECT_EQ(exitFrame(), linkCommandFrame(0));
    EXPECT_EQ(blockReadFrame(0, 0, 1), hex("A5 67 33 31 31 30 05 00 00 10 01 08"));
    EXPECT_EQ(blockReadFrame(10, 2, 2), hex("A5 67 33 31 31 30 05 0A 02 10 02 08"));
}

// Catches a checksum that sums the head or N, or wraps wrongly; the worked frames of the
// second sender.
TEST(Frames, ChecksumCoversGroupToLastValueByte) {
    EXPECT_EQ(requestFrame({0x08, 0x0F, 0x7F}, Checksum::With),
              hex("A5 67 33 31 31 30 04 08 0F 7F 96"));
    EXPECT_EQ(requestFrame({0x07, 0x07, 0x00}, Checksum::With),
              hex("A5 67 33 31 31 30 04 07 07 00 0E"));
    EXPECT_EQ(requestFrame({0x07, 0x05, 0x50}, Checksum::With),
              hex("A5 67 33 31 31 30 04 07 05 50 5C"));
    EXPECT_EQ(requestFrame({0x07, 0x06, 0xFF}, Checksum::With),
              hex("A5 67 33 31 31 30 04 07 06 FF 0C"));
    // Sum beyond 255 wraps modulo 256; a band frame is 15 bytes with N 08.
    const QByteArray band =
        requestFrame({0x02, 0x01, 0x03, 0x0A, 0x78, 0x01, 0xD8}, Checksum::With);
    EXPECT_EQ(band.size(), 15);
    EXPECT_EQ(static_cast<unsigned char>(band[6]), 0x08);
    EXPECT_EQ(static_cast<unsigned char>(band[14]),
              (0x02 + 0x01 + 0x03 + 0x0A + 0x78 + 0x01 + 0xD8) % 256);
}

// Catches a link operand outside a byte wrapping instead of saturating.
TEST(Frames, OutOfRangeOperandsSaturate) {
    EXPECT_EQ(linkCommandFrame(300).back(), '\xFF');
    EXPECT_EQ(linkCommandFrame(-5).back(), '\x00');
    EXPECT_EQ(blockReadFrame(0, 0, 256).at(10), '\xFF');
}

// Catches a step handed to the wrong sender (it would stop itself and never send).
TEST(StepTable, OwnerOfEveryStep) {
    for (int step = -1; step <= 62; ++step) {
        Sender expected = Sender::None;
        if ((step >= 1 && step <= 33) || step == 52 || (step >= 54 && step <= 58)) {
            expected = Sender::Timer2;
        } else if ((step >= 34 && step <= 51) || step == 53 || step == 59 || step == 60) {
            expected = Sender::Timer3;
        }
        EXPECT_EQ(stepOwner(step), expected) << step;
    }
}

namespace {

QString ackText(int step) {
    const std::optional<AckCode> ack = ackCode(step);
    if (!ack) {
        return {};
    }
    QByteArray bytes(reinterpret_cast<const char*>(ack->bytes), ack->length);
    return QString::fromLatin1(bytes.toHex().toUpper());
}

} // namespace

// Catches a wrong group/item in any acknowledgement, and six-character codes compared as
// eight (or the reverse).
TEST(StepTable, AcknowledgementCodes) {
    const char* expected[61] = {};
    const char* list[][2] = {
        {"2", "35820201"},  {"3", "35820202"},  {"4", "35820203"},  {"5", "35820204"},
        {"6", "35820205"},  {"7", "35820206"},  {"8", "35820301"},  {"9", "35820302"},
        {"10", "35820303"}, {"11", "35820304"}, {"12", "35820305"}, {"13", "35820306"},
        {"14", "35820307"}, {"15", "35820401"}, {"16", "35820402"}, {"17", "35820403"},
        {"18", "35820404"}, {"19", "35820405"}, {"20", "358204"},   {"21", "358204"},
        {"22", "35820418"}, {"23", "35820419"}, {"24", "3582041A"}, {"25", "35820501"},
        {"26", "35820502"}, {"27", "35820503"}, {"28", "35820504"}, {"29", "35820601"},
        {"30", "358206"},   {"31", "35820604"}, {"32", "35820605"}, {"33", "35820606"},
        {"54", "35820D01"}, {"55", "35820D02"}, {"56", "35820D03"}, {"57", "35820D04"},
        {"58", "35820D05"}, {"34", "35820701"}, {"35", "358207"},   {"36", "35820706"},
        {"37", "35820707"}, {"38", "35820708"}, {"59", "3582080E"}, {"60", "3582080F"},
        {"53", "358213"}};
    for (const auto& row : list) {
        expected[QByteArray(row[0]).toInt()] = row[1];
    }
    for (int step = 39; step <= 51; ++step) {
        static char codes[13][9];
        std::snprintf(codes[step - 39], 9, "358208%02X", step - 38);
        expected[step] = codes[step - 39];
    }
    for (int step = 0; step <= 60; ++step) {
        EXPECT_EQ(ackText(step), expected[step] ? QString::fromLatin1(expected[step]) : QString())
            << step;
    }
    EXPECT_FALSE(ackCode(61).has_value());
}

// The reply table over every step: catches a reply accepted at a step that does not allow it
// (or refused at its own), and a wrong order of the first rows.
TEST(ReplyJudge, EveryStepAcceptsOnlyItsOwnReply) {
    for (int step = 0; step <= 61; ++step) {
        // The probe answer wins everywhere, with anything after its two bytes.
        EXPECT_EQ(judgeReply(step, hex("52 3A")).kind, ReplyKind::ProbeAnswer) << step;
        EXPECT_EQ(judgeReply(step, hex("52 3A 35 82 01 7F")).kind, ReplyKind::ProbeAnswer);
        EXPECT_EQ(judgeReply(step, hex("35 82 01 7F")).kind,
                  step == 1 ? ReplyKind::HandshakeDone : ReplyKind::CommunicationError);
        EXPECT_EQ(judgeReply(step, hex("35 82 01 00")).kind,
                  step == 1 ? ReplyKind::DisconnectionDone : ReplyKind::CommunicationError);
        EXPECT_EQ(judgeReply(step, hex("10 03 00")).kind,
                  step == 52 ? ReplyKind::BlockReceived : ReplyKind::CommunicationError);
        for (int other = 2; other <= 60; ++other) {
            const std::optional<AckCode> ack = ackCode(other);
            if (!ack) {
                continue;
            }
            QByteArray reply(reinterpret_cast<const char*>(ack->bytes), 4);
            const Verdict verdict = judgeReply(step, reply);
            const std::optional<AckCode> own = ackCode(step);
            const bool sameCode = own && QByteArray(reinterpret_cast<const char*>(own->bytes),
                                                    own->length) == reply.left(own->length);
            EXPECT_EQ(verdict.kind,
                      sameCode ? ReplyKind::Acknowledged : ReplyKind::CommunicationError)
                << "step " << step << " reply of " << other;
        }
    }
}

// Catches judging on too few bytes, trusting NextBlock instead of the reply, and accepting
// a malformed probe answer or block number.
TEST(ReplyJudge, EdgeReplies) {
    EXPECT_EQ(judgeReply(20, hex("35 82 04 18")).kind, ReplyKind::Acknowledged);
    EXPECT_EQ(judgeReply(22, hex("35 82 04 17")).kind, ReplyKind::CommunicationError);
    EXPECT_EQ(judgeReply(53, hex("35 82 13")).kind, ReplyKind::Acknowledged);
    EXPECT_EQ(judgeReply(2, hex("35 82 02")).kind, ReplyKind::CommunicationError); // short
    EXPECT_EQ(judgeReply(1, hex("52")).kind, ReplyKind::CommunicationError);
    EXPECT_EQ(judgeReply(1, QByteArray()).kind, ReplyKind::CommunicationError);
    EXPECT_EQ(judgeReply(52, hex("10 06")).kind, ReplyKind::CommunicationError);
    EXPECT_EQ(judgeReply(52, hex("10 00")).kind, ReplyKind::CommunicationError);
    EXPECT_EQ(judgeReply(52, hex("10")).kind, ReplyKind::CommunicationError);
    const Verdict block = judgeReply(52, hex("10 05"));
    EXPECT_EQ(block.kind, ReplyKind::BlockReceived);
    EXPECT_EQ(block.block, 5);
}

// Catches judging a reply before it is whole (or waiting for bytes that never come).
TEST(ReplyJudge, CompleteLengthFromTheHead) {
    EXPECT_EQ(completeReplyLength(QByteArray()), std::nullopt);
    EXPECT_EQ(completeReplyLength(hex("52")), std::nullopt);
    EXPECT_EQ(completeReplyLength(hex("52 3A")), 2);
    EXPECT_EQ(completeReplyLength(hex("52 3B")), std::nullopt);
    EXPECT_EQ(completeReplyLength(hex("35")), 4);
    EXPECT_EQ(completeReplyLength(hex("10")), std::nullopt);
    EXPECT_EQ(completeReplyLength(hex("10 01")), 88);
    EXPECT_EQ(completeReplyLength(hex("10 02")), 44);
    EXPECT_EQ(completeReplyLength(hex("10 03")), 43);
    EXPECT_EQ(completeReplyLength(hex("10 04")), 44);
    EXPECT_EQ(completeReplyLength(hex("10 05")), 25);
    EXPECT_EQ(completeReplyLength(hex("10 09")), std::nullopt);
    EXPECT_EQ(completeReplyLength(hex("FF 00")), std::nullopt);
}

// Catches a missed bridge id, a non-bridge accepted, plain string order (ttyUSB10 before
// ttyUSB2), and a cap on how many ports are searched.
TEST(PortFinder, FirstBridgeInNaturalOrder) {
    EXPECT_TRUE(isCh341Bridge(0x1A86, 0x7523));
    EXPECT_TRUE(isCh341Bridge(0x1A86, 0x5523));
    EXPECT_TRUE(isCh341Bridge(0x1A86, 0x7522));
    EXPECT_FALSE(isCh341Bridge(0x1A86, 0x1234));
    EXPECT_FALSE(isCh341Bridge(0x0403, 0x7523));
    EXPECT_FALSE(isCh341Bridge(0, 0));

    QList<PortCandidate> ports;
    for (int i = 0; i < 32; ++i) {
        ports.append({QStringLiteral("ttyS%1").arg(i), 0, 0});
    }
    ports.append({QStringLiteral("ttyUSB10"), 0x1A86, 0x7523});
    ports.append({QStringLiteral("ttyACM0"), 0x2341, 0x0043});
    ports.append({QStringLiteral("ttyUSB2"), 0x1A86, 0x5523});
    EXPECT_EQ(pickCh341Port(ports), QStringLiteral("ttyUSB2"));
    EXPECT_EQ(pickCh341Port({{"COM10", 0x1A86, 0x7523}, {"COM9", 0x1A86, 0x7523}}),
              QStringLiteral("COM9"));
    EXPECT_EQ(pickCh341Port({{"COM3", 0x1A86, 0x7523}, {"COM5", 0x1A86, 0x7523}}),
              QStringLiteral("COM3"));
    EXPECT_EQ(pickCh341Port(ports.mid(0, 32)), QString());
}
