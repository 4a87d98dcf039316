#include "frame_helpers.h"
#include "sim/unit_peer.h"

#include <gtest/gtest.h>

using namespace korvanex::sim;
using namespace korvanex::sim::testing;

namespace {

QByteArray joined(const std::vector<Transmission>& pieces) {
    QByteArray out;
    for (const auto& p : pieces) {
        out += p.bytes;
    }
    return out;
}

QByteArray answer(UnitPeer& peer, const QByteArray& request) {
    return joined(peer.receive(request));
}

std::uint8_t byteOf(const UnitPeer& peer, int block, int k) {
    return static_cast<std::uint8_t>(peer.model().block(block).at(k));
}

} // namespace

// Catches: a wrong answer anywhere in the connection and disconnection exchanges.
TEST(UnitPeer, ConnectionExchangeByteForByte) {
    UnitPeer peer;
    EXPECT_EQ(answer(peer, bytes({0x3F})), bytes({0x52, 0x3A}));
    EXPECT_EQ(answer(peer, linkFrame(0x7F)), bytes({0x35, 0x82, 0x01, 0x7F}));
    EXPECT_TRUE(peer.model().linked());
    const int sizes[] = {86, 42, 41, 42, 23};
    for (int n = 1; n <= 5; ++n) {
        const QByteArray reply = answer(peer, blockReadFrame(0, 0, n));
        ASSERT_EQ(reply.size(), 2 + sizes[n - 1]) << "block " << n;
        EXPECT_EQ(reply.left(2), bytes({0x10, n}));
        EXPECT_EQ(reply.mid(2), peer.model().block(n));
    }
    EXPECT_EQ(answer(peer, linkFrame(0x00)), bytes({0x35, 0x82, 0x01, 0x00}));
    EXPECT_FALSE(peer.model().linked());
    EXPECT_EQ(peer.countOf(RequestKind::BlockRead), 5);
}

// Catches: a parameter stored at the wrong byte of the wrong block, so a later read gives the
// program back something else than it wrote.
TEST(UnitPeer, EveryParameterRequestLandsInItsBlockByte) {
    struct Case {
        QByteArray frame;
        int block;
        int byte;
        int value;
    };
    const Case cases[] = {
        {frameWithChecksum({2, 2, 6}), 1, 40, 6},       // music output limit
        {frameWithChecksum({2, 3, 255}), 5, 19, 255},   // exciter
        {frameWithChecksum({2, 6, 71}), 5, 0, 71},      // music volume
        {frameWithChecksum({3, 2, 99}), 2, 40, 99},     // microphone A low cut
        {frameWithChecksum({3, 3, 2}), 5, 17, 2},       // feedback
        {frameWithChecksum({3, 4, 3}), 2, 41, 3},       // microphone A high-frequency gain
        {frameWithChecksum({3, 7, 33}), 5, 5, 33},      // microphone volume
        {frameWithChecksum({4, 2, 1, 0xD8}), 3, 37, 1}, // reverb low cut, high byte
        {frameWithChecksum({4, 2, 1, 0xD8}), 3, 38, 0xD8},
        {frameWithChecksum({4, 3, 5, 0x78}), 3, 39, 5}, // reverb high cut
        {frameWithChecksum({4, 3, 5, 0x78}), 3, 40, 0x78},
        {frameWithChecksum({4, 4, 1, 2}), 3, 33, 1},     // echo low cut
        {frameWithChecksum({4, 5, 3, 4}), 3, 36, 4},     // echo high cut
        {frameWithChecksum({4, 6, 9}), 3, 13, 9},        // echo slider 0
        {frameWithChecksum({4, 0x0D, 63}), 3, 20, 63},   // echo slider 7
        {frameWithChecksum({4, 0x0E, 11}), 3, 23, 11},   // reverb slider 0
        {frameWithChecksum({4, 0x17, 77}), 3, 32, 77},   // reverb slider 9
        {frameWithChecksum({4, 0x1A, 44}), 5, 10, 44},   // effect volume
        {frameWithChecksum({5, 2, 120}), 1, 41, 120},    // music low cut
        {frameWithChecksum({6, 2, 12}), 1, 54, 12},      // centre music volume
        {frameWithChecksum({6, 3, 80}), 1, 55, 80},      // centre microphone volume
        {frameWithChecksum({6, 4, 71}), 1, 56, 71},      // effect into the centre
        {frameWithChecksum({7, 2, 200}), 1, 69, 200},    // subwoofer low cut
        {frameWithChecksum({7, 3, 201}), 1, 70, 201},    // subwoofer high cut
        {frameWithChecksum({7, 4, 30}), 1, 84, 30},      // bass, microphones open
        {frameWithChecksum({7, 5, 80}), 1, 83, 80},      // bass, microphones closed
        {frameWithChecksum({7, 6, 255}), 1, 85, 255},    // subwoofer phase
        {frameWithChecksum({8, 1, 21}), 5, 3, 21},       // music power-on volume
        {frameWithChecksum({8, 2, 22}), 5, 2, 22},       // music maximum
        {frameWithChecksum({8, 3, 23}), 5, 8, 23},       // microphone power-on
        {frameWithChecksum({8, 4, 24}), 5, 7, 24},       // microphone maximum
        {frameWithChecksum({8, 5, 25}), 5, 13, 25},      // effect power-on
        {frameWithChecksum({8, 6, 26}), 5, 12, 26},      // effect maximum
        {frameWithChecksum({8, 7, 3}), 5, 4, 3},         // power-on music mode
        {frameWithChecksum({8, 8, 4}), 5, 9, 4},         // power-on microphone mode
        {frameWithChecksum({8, 9, 7}), 5, 14, 7},        // power-on effect program
        {frameWithChecksum({8, 0x0A, 10}), 5, 21, 10},   // key
        {frameWithChecksum({8, 0x0B, 2}), 5, 18, 2},     // input port
        {frameWithChecksum({8, 0x0C, 255}), 5, 15, 255}, // mute
        {frameWithChecksum({8, 0x0D, 255}), 5, 16, 255}, // key lock
        {frameWithChecksum({8, 0x0E, 1}), 5, 22, 1},     // save mode
        {frameWithChecksum({0x0D, 2, 17}), 4, 40, 17},   // microphone B low cut
        {frameWithChecksum({0x0D, 3, 2}), 4, 41, 2},     // microphone B high-frequency gain
    };
    for (const Case& c : cases) {
        UnitPeer peer;
        const QByteArray reply = answer(peer, c.frame);
        EXPECT_EQ(reply, bytes({0x35, 0x82, c.frame.at(7), c.frame.at(8)}))
            << c.frame.toHex(' ').toStdString();
        const QByteArray read = answer(peer, blockReadFrame(0, 0, c.block));
        EXPECT_EQ(static_cast<std::uint8_t>(read.at(2 + c.byte)), c.value)
            << c.frame.toHex(' ').toStdString();
    }
}

// Catches: band bytes written to the wrong band, the wrong section or in the wrong order
// (the request carries Q before gain; the block holds gains first).
TEST(UnitPeer, BandRequestsWriteTheirEqualiserSection) {
    struct Case {
        int group, band, block, start, bands;
    };
    const Case cases[] = {{2, 3, 1, 0, 10}, {3, 9, 2, 0, 10}, {0x0D, 0, 4, 0, 10}, {4, 2, 3, 1, 3},
                          {5, 1, 1, 42, 3}, {6, 0, 1, 57, 3}, {7, 2, 1, 71, 3}};
    for (const Case& c : cases) {
        UnitPeer peer;
        const QByteArray before = peer.model().block(c.block);
        EXPECT_EQ(answer(peer, frameWithChecksum({c.group, 1, c.band, 0x0A, 0x96, 0x01, 0xD8})),
                  bytes({0x35, 0x82, c.group, 1}));
        const int s = c.start, n = c.bands, i = c.band;
        EXPECT_EQ(byteOf(peer, c.block, s + i), 0x96) << "gain, group " << c.group;
        EXPECT_EQ(byteOf(peer, c.block, s + n + i), 0x0A) << "Q, group " << c.group;
        EXPECT_EQ(byteOf(peer, c.block, s + 2 * n + 2 * i), 0x01) << "frequency high";
        EXPECT_EQ(byteOf(peer, c.block, s + 2 * n + 2 * i + 1), 0xD8) << "frequency low";
        QByteArray after = peer.model().block(c.block);
        for (const int k : {s + i, s + n + i, s + 2 * n + 2 * i, s + 2 * n + 2 * i + 1}) {
            after[k] = before[k];
        }
        EXPECT_EQ(after, before) << "nothing else changes, group " << c.group;
    }
}

// Catches: a reset that moves frequencies or Q, or resets another equaliser's gains.
TEST(UnitPeer, ResetFlattensOnlyItsOwnGains) {
    UnitPeer peer;
    answer(peer, frameWithChecksum({5, 1, 1, 30, 200, 0x07, 0x3F}));
    answer(peer, frameWithChecksum({6, 1, 1, 30, 10, 0x07, 0x3F}));
    EXPECT_EQ(answer(peer, frameWithChecksum({5, 3, 0})), bytes({0x35, 0x82, 5, 3}));
    EXPECT_EQ(byteOf(peer, 1, 43), 120) << "main band 1 gain back to 0 dB";
    EXPECT_EQ(byteOf(peer, 1, 46), 30) << "its Q stays";
    EXPECT_EQ(byteOf(peer, 1, 50), 0x07) << "its frequency stays";
    EXPECT_EQ(byteOf(peer, 1, 58), 10) << "the centre keeps its gain";
    answer(peer, frameWithChecksum({2, 5, 255}));
    EXPECT_TRUE(peer.model().bypassed(2));
}

// Catches: the whole-set download's 212 bytes spread over the blocks at the wrong offsets, or
// gathered back in another order.
TEST(UnitPeer, WholeSetDownloadIsReadBack) {
    QByteArray values(212, '\0');
    for (int i = 0; i < 212; ++i) {
        values[i] = static_cast<char>(i * 7 + 3);
    }
    UnitPeer peer;
    EXPECT_EQ(answer(peer, wholeSetFrame(values)), bytes({0x35, 0x82, 0x13, 0x00}));
    EXPECT_EQ(peer.model().block(1), values.mid(0, 86));
    EXPECT_EQ(peer.model().block(2), values.mid(86, 42));
    EXPECT_EQ(peer.model().block(3).mid(1), values.mid(128, 40));
    EXPECT_EQ(peer.model().block(3).at(0), values.at(211)) << "effect program is the last byte";
    EXPECT_EQ(peer.model().block(4), values.mid(168, 42));
    EXPECT_EQ(peer.model().block(5).at(10), values.at(210)) << "effect volume";
    EXPECT_EQ(peer.model().wholeSetBytes(), values) << "read back in download order";
}

// Catches: a recall that returns the live block instead of the preset, forgets the switch,
// or loses edits made to a preset.
TEST(UnitPeer, RecallSwitchesThePresetAndKeepsEdits) {
    UnitPeer peer;
    const QByteArray preset0 = peer.model().block(2);
    const QByteArray recalled = answer(peer, blockReadFrame(10, 2, 2));
    ASSERT_EQ(recalled.size(), 44);
    EXPECT_NE(recalled.mid(2), preset0);
    EXPECT_EQ(answer(peer, blockReadFrame(0, 0, 2)), recalled) << "the read after shows preset 2";
    EXPECT_EQ(byteOf(peer, 5, 6), 2) << "the microphone mode follows";

    answer(peer, frameWithChecksum({3, 2, 123}));
    answer(peer, blockReadFrame(10, 0, 2));
    EXPECT_EQ(answer(peer, blockReadFrame(10, 2, 2)).at(2 + 40), 123);
    EXPECT_EQ(answer(peer, blockReadFrame(11, 7, 3)).at(2), 7) << "effect preset = program";
    EXPECT_EQ(answer(peer, blockReadFrame(9, 6, 1)).mid(2), peer.model().block(1))
        << "a preset the bank lacks switches nothing";
    EXPECT_EQ(peer.model().currentPreset(0), 0);
}

// Catches: a damaged frame answered or its value kept.
TEST(UnitPeer, DamagedFrameGetsNoAnswerAndChangesNothing) {
    UnitPeer peer;
    const QByteArray before = peer.model().block(1);
    QByteArray frame = frameWithChecksum({2, 2, 6});
    frame[frame.size() - 1] = 0;
    EXPECT_TRUE(answer(peer, frame).isEmpty());
    EXPECT_EQ(peer.model().block(1), before);
    EXPECT_EQ(peer.badFrames(), 1);
}

// Catches: silence that lasts the wrong number of sends, or a value kept from a send the unit
// never acknowledged.
TEST(UnitPeerFaults, SilenceUntilTheKthResend) {
    UnitPeer peer;
    Fault f;
    f.when.kind = RequestKind::Parameter;
    f.when.group = 2;
    f.silentSends = 3;
    peer.faults().add(f);
    const QByteArray frame = frameWithChecksum({2, 2, 5});
    for (int send = 1; send <= 3; ++send) {
        EXPECT_TRUE(answer(peer, frame).isEmpty()) << "send " << send;
        EXPECT_NE(byteOf(peer, 1, 40), 5) << "not acknowledged, not kept";
    }
    EXPECT_EQ(answer(peer, frame), bytes({0x35, 0x82, 2, 2})) << "the third resend is answered";
    EXPECT_EQ(byteOf(peer, 1, 40), 5);
    EXPECT_EQ(answer(peer, bytes({0x3F})), bytes({0x52, 0x3A})) << "other requests unaffected";

    UnitPeer mute;
    Fault always;
    always.when.kind = RequestKind::Probe;
    always.silentSends = -1;
    mute.faults().add(always);
    for (int i = 0; i < 30; ++i) {
        EXPECT_TRUE(answer(mute, bytes({0x3F})).isEmpty());
    }
}

// Catches: shaped answers that differ from what the script asked for.
TEST(UnitPeerFaults, ShapedAnswers) {
    {
        UnitPeer peer; // wrong code: no value kept
        Fault f;
        f.when.kind = RequestKind::Parameter;
        f.replyWith = bytes({0x35, 0x82, 2, 3});
        peer.faults().add(f);
        EXPECT_EQ(answer(peer, frameWithChecksum({2, 2, 4})), bytes({0x35, 0x82, 2, 3}));
        EXPECT_NE(byteOf(peer, 1, 40), 4);
    }
    {
        UnitPeer peer; // short, long, other block; uses run out
        Fault cut;
        cut.when.block = 1;
        cut.when.kind = RequestKind::BlockRead;
        cut.cutTo = 12;
        cut.uses = 1;
        peer.faults().add(cut);
        Fault other;
        other.when.kind = RequestKind::BlockRead;
        other.when.block = 2;
        other.otherBlock = 3;
        other.extraBytes = 5;
        peer.faults().add(other);
        EXPECT_EQ(answer(peer, blockReadFrame(0, 0, 1)).size(), 12);
        EXPECT_EQ(answer(peer, blockReadFrame(0, 0, 1)).size(), 88) << "used up";
        const QByteArray swapped = answer(peer, blockReadFrame(0, 0, 2));
        EXPECT_EQ(swapped.left(2), bytes({0x10, 3}));
        EXPECT_EQ(swapped.size(), 2 + 41 + 5);
    }
    {
        UnitPeer peer; // split, duplicated, followed by an unsolicited probe answer
        Fault f;
        f.when.kind = RequestKind::Link;
        f.chunkSizes = {1, 2};
        f.chunkGapMs = 30;
        f.duplicates = 1;
        f.duplicateGapMs = 5;
        f.thenSend = bytes({0x52, 0x3A});
        f.thenSendGapMs = 7;
        peer.faults().add(f);
        const auto pieces = peer.receive(linkFrame(0x7F));
        const std::vector<std::pair<QByteArray, int>> expected = {
            {bytes({0x35}), 0},       {bytes({0x82, 0x01}), 30}, {bytes({0x7F}), 30},
            {bytes({0x35}), 5},       {bytes({0x82, 0x01}), 30}, {bytes({0x7F}), 30},
            {bytes({0x52, 0x3A}), 7},
        };
        ASSERT_EQ(pieces.size(), expected.size());
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(pieces[i].bytes, expected[i].first) << i;
            EXPECT_EQ(pieces[i].gapMs, expected[i].second) << i;
        }
        EXPECT_TRUE(peer.model().linked()) << "a split acknowledgement is still one";
    }
}

// Catches: a recall the unit left unanswered switching its preset anyway.
TEST(UnitPeerFaults, SilencedRecallSwitchesNothing) {
    UnitPeer peer;
    Fault f;
    f.when.kind = RequestKind::BlockRead;
    f.silentSends = 1;
    peer.faults().add(f);
    EXPECT_TRUE(answer(peer, blockReadFrame(9, 4, 1)).isEmpty());
    EXPECT_EQ(peer.model().currentPreset(0), 0);
    EXPECT_EQ(answer(peer, blockReadFrame(9, 4, 1)).size(), 88);
    EXPECT_EQ(peer.model().currentPreset(0), 4);
}
