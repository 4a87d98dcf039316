// The reply receiver: gathering, early and late judgement, the actions of the reply table,
// and the device loss.

#include "core/messages.h"
#include "link/frames.h"
#include "link_test_helpers.h"

#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::link;
using namespace korvanex::link::testing;

namespace {

// A linked rig whose parameter steps send a one-byte stand-in frame (the step number).
struct LinkedRig : Rig {
    LinkedRig() {
        connect();
        prompter.boxes.clear();
        appliers.calls.clear();
        engine.setFrameSource([](int step) { return QByteArray(1, static_cast<char>(step)); });
    }
    void request(int step) {
        engine.PendingStep = step;
        engine.EnableOwnerOf(step);
        nextWrite();
    }
};

} // namespace

// Catches a known code accepted at the wrong step, and an error that closes the port,
// keeps a timer running or leaves the counters.
TEST(LinkReceiver, CommunicationErrorStopsEverythingButKeepsThePort) {
    LinkedRig rig;
    rig.request(52);
    rig.engine.ReplyWaitCount = 5;
    rig.line.feed(hex("35 82 01 7F"));
    ASSERT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kCommError)}));
    EXPECT_EQ(rig.prompter.boxes[0].title, msg::text(msg::kSystemTitle));
    EXPECT_EQ(rig.prompter.boxes[0].icon, BoxIcon::Critical);
    EXPECT_TRUE(rig.line.PortOpen());
    EXPECT_EQ(rig.engine.PendingStep, 52);
    EXPECT_EQ(rig.engine.ReplyWaitCount, 0);
    EXPECT_FALSE(rig.engine.Timer1().Enabled());
    EXPECT_FALSE(rig.engine.Timer2().Enabled());
    EXPECT_FALSE(rig.engine.Timer3().Enabled());
    EXPECT_EQ(rig.bar.statusText, msg::text(msg::kStatusConnected));
    EXPECT_GE(rig.line.inClears, 1);
    EXPECT_GE(rig.line.outClears, 1);
}

// Catches an acknowledgement that stops the wrong timer, and the boxes of 53/60 not shown
// again for a duplicate acknowledgement.
TEST(LinkReceiver, AcknowledgementsAndTheirBoxes) {
    LinkedRig rig;
    rig.request(40);
    rig.line.feed(hex("35 82 08 02"));
    EXPECT_FALSE(rig.engine.Timer3().Enabled());
    EXPECT_TRUE(rig.prompter.boxes.empty());
    rig.request(60);
    rig.line.feed(hex("35 82 08 0F"));
    rig.clock.advance(100);
    rig.line.feed(hex("35 82 08 0F"));
    EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kSaveDone), msg::text(msg::kSaveDone)}));
    rig.prompter.boxes.clear();
    rig.engine.DeviceReady = false;
    rig.request(53);
    rig.line.feed(hex("35 82 13 00"));
    EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kImportDone)}));
    EXPECT_TRUE(rig.engine.DeviceReady);
    EXPECT_EQ(rig.engine.PendingStep, 53);
    rig.request(20);
    rig.line.feed(hex("35 82 04 18")); // six characters compared
    EXPECT_FALSE(rig.engine.Timer2().Enabled());
    EXPECT_EQ(rig.boxTexts().size(), 1);
}

// Catches the probe answer while linked not resuming the pending request.
TEST(LinkReceiver, ProbeAnswerWhileLinkedResendsThePendingRequest) {
    LinkedRig rig;
    rig.request(60);
    rig.line.feed(hex("35 82 08 0F"));
    rig.clock.advance(100);
    const std::size_t from = rig.line.writes.size();
    rig.line.feed(hex("52 3A"));
    rig.clock.advance(120);
    EXPECT_FALSE(rig.engine.Timer2().Enabled());
    EXPECT_TRUE(rig.engine.Timer3().Enabled());
    EXPECT_EQ(rig.writtenSince(from), std::vector<QByteArray>(2, QByteArray(1, 60)));
}

// Catches a block stored under NextBlock instead of the reply's number, lower-case or
// misaligned elements, a short reply leaving stale elements, and a long one overflowing.
TEST(LinkReceiver, BlockStores) {
    LinkedRig rig;
    rig.engine.Blocks.EffectBlock.fill(QStringLiteral("77"));
    rig.engine.NextBlock = 1;
    rig.request(52);
    rig.line.feed(blockReply(3, 10, 0xAB));
    rig.clock.advance(100); // short: judged when the window ends
    EXPECT_EQ(rig.appliers.calls, QStringList({"EFF_Data"}));
    EXPECT_EQ(rig.engine.Blocks.EffectBlock[0], QStringLiteral("AB"));
    EXPECT_EQ(rig.engine.Blocks.EffectBlock[9], QStringLiteral("B4"));
    EXPECT_EQ(rig.engine.Blocks.EffectBlock[10], QString());
    EXPECT_EQ(rig.engine.Blocks.EffectBlock[40], QString());
    EXPECT_EQ(rig.engine.NextBlock, 4);
    EXPECT_EQ(rig.nextWrite(), blockReadFrame(0, 0, 4));
    rig.line.feed(blockReply(4, 60, 1));
    EXPECT_EQ(rig.engine.Blocks.MicBBlock[41], QStringLiteral("2A"));
}

// Catches a block action that lets a request queued by an applier through.
TEST(LinkReceiver, RequestQueuedByAnApplierIsStopped) {
    LinkedRig rig;
    struct Queueing : RecordingAppliers {
        LinkEngine* engine = nullptr;
        void Mic_Data() override {
            engine->PendingStep = 3;
            engine->EnableTimer2();
        }
    } appliers;
    appliers.engine = &rig.engine;
    rig.engine.setAppliers(&appliers);
    rig.engine.RecallMode = 10;
    rig.engine.NextBlock = 2;
    rig.request(52);
    rig.line.feed(blockReply(2, 42));
    EXPECT_FALSE(rig.engine.Timer2().Enabled());
}

// Catches judging a split reply too early (below 70 ms it is one reply) and joining bytes
// across the window (above 70 ms they are two replies).
TEST(LinkReceiver, SplitRepliesJoinWithinTheWindowOnly) {
    LinkedRig rig;
    rig.request(25);
    rig.line.feed(hex("35 82"));
    rig.clock.advance(40);
    rig.line.feed(hex("05 01"));
    EXPECT_TRUE(rig.prompter.boxes.empty());
    EXPECT_FALSE(rig.engine.Timer2().Enabled());

    rig.request(25);
    rig.line.feed(hex("35 82"));
    rig.clock.advance(71);
    EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kCommError)}));

    // A block in three chunks within the window.
    rig.engine.RecallMode = 9;
    rig.request(52);
    const QByteArray block = blockReply(1, 86);
    rig.line.feed(block.left(30));
    rig.clock.advance(20);
    rig.line.feed(block.mid(30, 30));
    rig.clock.advance(20);
    rig.line.feed(block.mid(60));
    EXPECT_EQ(rig.engine.Blocks.MusicBlock[85], QStringLiteral("55"));
    EXPECT_EQ(rig.boxTexts().last(), msg::text(msg::kMusicRecallDone));
}

// Catches a complete reply waiting out the window, and its late tail judged as a new reply
// (a duplicate or trailing byte must not raise a communication error).
TEST(LinkReceiver, EarlyJudgementDropsTheTailUntilTheNextWrite) {
    LinkedRig rig;
    rig.request(25);
    const std::int64_t sent = rig.clock.now();
    rig.line.feed(hex("35 82 05 01"));
    EXPECT_FALSE(rig.engine.Timer2().Enabled()); // judged at once
    EXPECT_EQ(rig.clock.now(), sent);
    rig.clock.advance(10);
    rig.line.feed(hex("35 82 05 01"));
    rig.clock.advance(100);
    EXPECT_TRUE(rig.prompter.boxes.empty());

    // After the next write, bytes are a new reply again.
    rig.request(26);
    rig.line.feed(hex("35 82 05 02"));
    EXPECT_FALSE(rig.engine.Timer2().Enabled());
    EXPECT_TRUE(rig.prompter.boxes.empty());
}

// Catches a sender that keeps sending or counting while a reply is coming in.
TEST(LinkReceiver, NoTickSendsOrCountsDuringAGather) {
    LinkedRig rig;
    rig.request(25);
    const std::size_t from = rig.line.writes.size();
    const int count = rig.engine.ReplyWaitCount;
    rig.line.feed(hex("35"));
    rig.clock.advance(60);
    EXPECT_EQ(rig.line.writes.size(), from);
    EXPECT_EQ(rig.engine.ReplyWaitCount, count);
    EXPECT_TRUE(rig.engine.replyInProgress());
    rig.clock.advance(20);
    EXPECT_FALSE(rig.engine.replyInProgress());
    EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kCommError)}));
}

// Catches a request stored during a gather being judged against (an error for the old
// reply) or lost; and one whose link went down meanwhile starting anyway.
TEST(LinkReceiver, RequestStoredDuringAGatherTakesEffectAfterTheJudgement) {
    LinkedRig rig;
    rig.request(60);
    rig.line.feed(hex("35 82"));
    rig.engine.PendingStep = 39;
    rig.engine.EnableTimer3();
    rig.line.feed(hex("08 0F"));
    EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kSaveDone)}));
    EXPECT_EQ(rig.engine.PendingStep, 39);
    EXPECT_TRUE(rig.engine.Timer3().Enabled());
    EXPECT_EQ(rig.nextWrite(), QByteArray(1, 39));

    // The disconnection's acknowledgement arrives while a handler queues an edit.
    rig.engine.mnutuoji_Click();
    rig.nextWrite();
    rig.line.feed(hex("52 3A"));
    rig.nextWrite();
    rig.line.feed(hex("35 82 01"));
    rig.engine.PendingStep = 5;
    rig.engine.EnableTimer2();
    rig.line.feed(hex("00"));
    EXPECT_FALSE(rig.line.PortOpen());
    EXPECT_FALSE(rig.engine.Timer2().Enabled());
}

// Catches an empty receive event judged as a reply (a spurious error box).
TEST(LinkReceiver, EmptyReceiveEventIsIgnored) {
    LinkedRig rig;
    rig.request(25);
    rig.engine.MSComm1_OnComm();
    rig.clock.advance(100);
    EXPECT_TRUE(rig.prompter.boxes.empty());
    EXPECT_FALSE(rig.engine.replyInProgress());
}

// Catches re-entrant judgement: bytes arriving under the action's box must not be judged.
TEST(LinkReceiver, BytesUnderAJudgementBoxAreDropped) {
    LinkedRig rig;
    rig.request(25);
    int boxes = 0;
    rig.prompter.onBox = [&](const RecordingPrompter::Box&) {
        if (++boxes == 1) {
            rig.line.feed(hex("EE EE EE EE"));
            rig.clock.advance(100);
        }
    };
    rig.line.feed(hex("AA BB CC DD"));
    rig.clock.advance(100);
    EXPECT_EQ(boxes, 1);
}

// Catches the dead end after an unplug (status stays connected, connect disabled) and a
// reconnect that needs a restart.
TEST(LinkReceiver, DeviceLossEndsTheLinkAndReconnectWorks) {
    LinkedRig rig;
    rig.request(25);
    rig.line.feed(hex("35"));
    rig.line.unplug();
    ASSERT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kCheckDevice)}));
    EXPECT_EQ(rig.prompter.boxes[0].title, msg::text(msg::kSystemTitle));
    EXPECT_EQ(rig.prompter.boxes[0].icon, BoxIcon::Critical);
    EXPECT_EQ(rig.bar.statusText, msg::text(msg::kStatusDisconnected));
    EXPECT_EQ(rig.bar.statusColour, 0x0000FFu);
    EXPECT_TRUE(rig.bar.mnulianjiEnabled());
    EXPECT_FALSE(rig.engine.LinkUp());
    EXPECT_FALSE(rig.engine.DeviceReady);
    EXPECT_FALSE(rig.engine.deviceNotifyRegistered());
    EXPECT_FALSE(rig.engine.replyInProgress());
    const std::size_t from = rig.line.writes.size();
    rig.clock.advance(500);
    EXPECT_EQ(rig.line.writes.size(), from);

    rig.prompter.boxes.clear();
    rig.connect();
    EXPECT_TRUE(rig.engine.LinkUp());
    EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kConnectDone)}));
}

// Catches the link completing after the device vanished under the completion box (status
// "connected" on a closed port: the dead end again).
TEST(LinkReceiver, DeviceLossUnderTheCompletionBoxWins) {
    Rig rig;
    rig.prompter.onBox = [&](const RecordingPrompter::Box& box) {
        if (box.text == msg::text(msg::kConnectDone)) {
            rig.line.unplug();
        }
    };
    rig.connect();
    EXPECT_EQ(rig.bar.statusText, msg::text(msg::kStatusDisconnected));
    EXPECT_TRUE(rig.bar.mnulianjiEnabled());
    EXPECT_FALSE(rig.engine.DeviceReady);
    EXPECT_FALSE(rig.engine.deviceNotifyRegistered());
}
