// Replies that arrive in pieces, twice or unasked, a bridge pulled out, and the last frame
// before the port closes: the real serial control and link engine against the unit.
#include "link_rig.h"

#include "core/messages.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::testing;
using sim::Fault;
using sim::RequestKind;

// Catches: a reply whose pieces come within the 70 ms window judged piece by piece. The last
// piece comes well inside the window (a fifth of it), so a busy machine cannot push it out.
TEST(LinkFaultsOverPty, SplitReplyWithinTheWindowIsJoined) {
    LinkRig rig;
    Fault split;
    split.when.kind = RequestKind::BlockRead;
    split.when.block = 1;
    split.chunkSizes = {1, 30};
    split.chunkGapMs = 7; // pieces at 0, 7 and 14 ms
    rig.unit.peer().faults().add(split);
    Fault ack;
    ack.when.kind = RequestKind::Link;
    ack.chunkSizes = {3};
    ack.chunkGapMs = 10;
    rig.unit.peer().faults().add(ack);
    ASSERT_TRUE(rig.connect());
    EXPECT_EQ(rig.boxes(msg::kCommError), 0);
    EXPECT_EQ(rig.engine.Blocks.MusicBlock[85],
              QString::fromLatin1(rig.unit.peer().model().block(1).mid(85, 1).toHex().toUpper()))
        << "the last piece made it into the block";
}

// Catches: a reply cut by a gap longer than the window being joined anyway, or its short
// first part stored other than as a short block. The gap is over three windows long.
TEST(LinkFaultsOverPty, SplitReplyBeyondTheWindowIsCut) {
    LinkRig rig;
    Fault split;
    split.when.kind = RequestKind::BlockRead;
    split.when.block = 5;
    split.chunkSizes = {10};
    split.chunkGapMs = 250;
    rig.unit.peer().faults().add(split);
    ASSERT_TRUE(rig.connect());
    const auto& system = rig.engine.Blocks.SystemBlock;
    EXPECT_FALSE(system[7].isEmpty()) << "the first piece's last byte";
    EXPECT_TRUE(system[8].isEmpty()) << "beyond the first piece the store is empty";
    // The rest arrives as a reply of its own, which fits nothing.
    ASSERT_TRUE(waitUntil([&] { return rig.boxes(msg::kCommError) == 1; }));
    EXPECT_TRUE(rig.engine.LinkUp()) << "an error reply leaves the link up";
}

// Catches: the rest of an answer the program already judged taken as a new reply.
TEST(LinkFaultsOverPty, DuplicateWithinTheWindowIsDropped) {
    LinkRig rig;
    ASSERT_TRUE(rig.connect());
    Fault twice;
    twice.when.kind = RequestKind::Parameter;
    twice.duplicates = 1;
    twice.duplicateGapMs = 5;
    rig.unit.peer().faults().add(twice);
    rig.engine.setFrameSource([](int step) {
        return step == 3 ? QByteArray("\xA5\x67\x33\x31\x31\x30\x04\x02\x02\x06\x0A", 11)
                         : QByteArray();
    });
    rig.engine.store({.step = 3});
    ASSERT_TRUE(waitUntil([&] { return rig.unit.peer().model().block(1).at(40) == 6; }));
    QTest::qWait(150);
    EXPECT_EQ(rig.boxes(msg::kCommError), 0);
    EXPECT_FALSE(rig.engine.Timer2().Enabled());
}

// Catches: a probe answer out of the blue while linked doing anything but resending the
// last request (an error box, a dropped link).
TEST(LinkFaultsOverPty, UnsolicitedProbeAnswerResendsTheLastRequest) {
    LinkRig rig;
    ASSERT_TRUE(rig.connect());
    const int readsBefore = rig.received(RequestKind::BlockRead);
    // Past the window of the last block, whose late bytes are dropped.
    ASSERT_TRUE(waitUntil([&] { return rig.engine.listening(); }));
    rig.unit.sendNow(QByteArray("\x52\x3A", 2));
    ASSERT_TRUE(waitUntil([&] { return rig.received(RequestKind::BlockRead) == readsBefore + 1; }));
    ASSERT_TRUE(waitUntil([&] { return rig.boxes(msg::kConnectDone) == 2; }));
    EXPECT_EQ(rig.unit.peer().requests().back().block, 5) << "the last request was block 5";
    EXPECT_EQ(rig.boxes(msg::kCommError), 0);
    EXPECT_TRUE(rig.engine.LinkUp());
}

// Catches: an unplugged bridge leaving the window "已连接", raising a storm of errors, or
// needing a restart before the next connection.
TEST(LinkFaultsOverPty, UnplugWhileLinkedEndsTheLinkOnce) {
    LinkRig rig;
    ASSERT_TRUE(rig.connect());
    rig.unit.unplug();
    ASSERT_TRUE(waitUntil([&] { return rig.bar.statusText == text(msg::kStatusDisconnected); }));
    EXPECT_FALSE(rig.line.PortOpen());
    EXPECT_TRUE(rig.bar.connectEnabled);
    EXPECT_FALSE(rig.engine.DeviceReady);
    QTest::qWait(300);
    EXPECT_EQ(rig.boxes(msg::kCheckDevice), 1) << "one box, not one per error";
    EXPECT_EQ(rig.prompter.boxes.size(), 2u) << "connection done, then the loss";
    EXPECT_FALSE(rig.engine.Timer1().Enabled() || rig.engine.Timer2().Enabled() ||
                 rig.engine.Timer3().Enabled());

    ASSERT_TRUE(rig.unit.plugIn());
    ASSERT_TRUE(rig.connect()) << "connecting again without a restart";
}

// Catches: an unplug while the program waits for an answer ending in an error storm or a
// second box from the senders' give-up.
TEST(LinkFaultsOverPty, UnplugWhileARequestIsUnanswered) {
    LinkRig rig;
    ASSERT_TRUE(rig.connect());
    Fault silent;
    silent.when.kind = RequestKind::Parameter;
    silent.silentSends = -1;
    rig.unit.peer().faults().add(silent);
    rig.engine.setFrameSource(
        [](int) { return QByteArray("\xA5\x67\x33\x31\x31\x30\x04\x02\x02\x06\x0A", 11); });
    rig.engine.store({.step = 3});
    ASSERT_TRUE(waitUntil([&] { return rig.received(RequestKind::Parameter) >= 3; }));
    rig.unit.unplug();
    ASSERT_TRUE(waitUntil([&] { return !rig.line.PortOpen(); }));
    EXPECT_FALSE(rig.engine.Timer1().Enabled() || rig.engine.Timer2().Enabled() ||
                 rig.engine.Timer3().Enabled());
    QTest::qWait(1300); // three times the senders' whole give-up (21 sends, 20 ms apart)
    EXPECT_EQ(rig.boxes(msg::kCheckDevice), 1);
    EXPECT_EQ(rig.boxes(msg::kNoReply), 0) << "no sender runs on a lost port";
}

// Catches: the exit frame lost because the port closed before it left.
TEST(LinkFaultsOverPty, FrameWrittenJustBeforeCloseReachesTheUnit) {
    LinkRig rig;
    ASSERT_TRUE(rig.connect());
    ASSERT_TRUE(rig.unit.peer().model().linked());
    rig.engine.closeForExit();
    EXPECT_FALSE(rig.line.PortOpen());
    ASSERT_TRUE(waitUntil([&] { return !rig.unit.peer().model().linked(); }, 2000))
        << "the unit never got the exit frame";
    EXPECT_EQ(rig.unit.peer().requests().back().frame,
              QByteArray("\xA5\x67\x33\x31\x31\x30\x02\x01\x00", 9));
    EXPECT_EQ(rig.unit.peer().badFrames(), 0);
}
