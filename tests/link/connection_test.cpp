// Connection, disconnection, recall and the senders' give-ups, byte for byte on a fake clock.

#include "core/messages.h"
#include "link/frames.h"
#include "link/step_table.h"
#include "link_test_helpers.h"

#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::link;
using namespace korvanex::link::testing;

namespace {

const QByteArray kProbe = hex("3F");
const QByteArray kConnectCmd = hex("A5 67 33 31 31 30 02 01 7F");
const QByteArray kDisconnectCmd = hex("A5 67 33 31 31 30 02 01 00");

QByteArray blockRead(int block) {
    return blockReadFrame(0, 0, block);
}

} // namespace

// The whole connection exchange: catches a wrong frame, order, timing of the first probe,
// a missing applier call, or a wrong final state of the connect bar.
TEST(LinkConnection, ConnectsThroughProbeHandshakeAndFiveBlocks) {
    Rig rig;
    rig.engine.mnulianji_Click();
    EXPECT_EQ(rig.line.Settings(), QStringLiteral("38400,n,8,1"));
    EXPECT_EQ(rig.line.CommPort(), QStringLiteral("ttyUSB0"));
    EXPECT_EQ(rig.engine.CH341Port, QStringLiteral("ttyUSB0"));
    EXPECT_EQ(rig.engine.PendingStep, 1);
    EXPECT_EQ(rig.engine.StepValue, 127);

    EXPECT_EQ(rig.nextWrite(), kProbe);
    EXPECT_EQ(rig.line.writes[0].at, 20); // one interval after enabling
    rig.line.feed(hex("52 3A"));
    EXPECT_FALSE(rig.engine.Timer1().Enabled());
    EXPECT_EQ(rig.engine.ProbeWaitCount, 1); // survives the probe answer
    EXPECT_EQ(rig.nextWrite(), kConnectCmd);
    rig.line.feed(hex("35 82 01 7F"));
    EXPECT_TRUE(rig.bar.mnutuojiEnabled());
    EXPECT_EQ(rig.engine.ProbeWaitCount, 0);
    for (int block = 1; block <= 5; ++block) {
        EXPECT_EQ(rig.nextWrite(), blockRead(block)) << block;
        EXPECT_FALSE(rig.bar.statusText == msg::text(msg::kStatusConnected));
        rig.line.feed(blockReply(block, blockSize(block), 0xA0));
    }
    rig.clock.advance(500);
    EXPECT_EQ(rig.line.writes.size(), 7u); // nothing after the fifth block
    EXPECT_EQ(rig.appliers.calls,
              QStringList({"Music_Data", "Mic_Data", "EFF_Data", "MicB_Data", "set_Data"}));
    EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kConnectDone)}));
    EXPECT_EQ(rig.prompter.boxes[0].title, msg::text(msg::kWindowCaption));
    EXPECT_EQ(rig.prompter.boxes[0].icon, BoxIcon::Information);
    EXPECT_EQ(rig.bar.statusText, msg::text(msg::kStatusConnected));
    EXPECT_EQ(rig.bar.statusColour, 0x00FF00u);
    EXPECT_FALSE(rig.bar.mnulianjiEnabled());
    EXPECT_TRUE(rig.engine.DeviceReady);
    EXPECT_TRUE(rig.engine.LinkUp());
    EXPECT_TRUE(rig.engine.deviceNotifyRegistered());
    EXPECT_FALSE(rig.engine.Timer2().Enabled());
    EXPECT_FALSE(rig.engine.Timer3().Enabled());
    EXPECT_EQ(rig.engine.Blocks.MusicBlock[0], QStringLiteral("A0"));
    EXPECT_EQ(rig.engine.Blocks.MusicBlock[85], QStringLiteral("F5"));
    EXPECT_EQ(rig.engine.Blocks.SystemBlock[22], QStringLiteral("B6"));
}

// Catches the idle timer sending after the probe answer, Timer2 not sending the command, or
// sending it again inside its window (73 ms).
TEST(LinkConnection, AfterProbeAnswerOnlyTheOwnerSends) {
    Rig rig;
    rig.engine.mnulianji_Click();
    rig.nextWrite();
    rig.line.feed(hex("52 3A"));
    EXPECT_TRUE(rig.engine.Timer3().Enabled());
    rig.clock.advance(60);
    EXPECT_FALSE(rig.engine.Timer3().Enabled());
    EXPECT_EQ(rig.writtenSince(1), std::vector<QByteArray>{kConnectCmd});
    rig.clock.advance(40);
    EXPECT_EQ(rig.writtenSince(1), std::vector<QByteArray>(2, kConnectCmd));
    EXPECT_EQ(rig.line.writes[2].at - rig.line.writes[1].at, 80);
}

// Catches a disconnection that leaves the port open, keeps variables, or clears PendingStep.
TEST(LinkConnection, DisconnectsAndClearsTheLink) {
    Rig rig;
    rig.connect();
    rig.engine.StepIndex = 4;
    rig.engine.RecallPreset = 3;
    const std::size_t from = rig.line.writes.size();
    rig.engine.mnutuoji_Click();
    EXPECT_EQ(rig.nextWrite(), kProbe);
    rig.line.feed(hex("52 3A"));
    EXPECT_EQ(rig.nextWrite(), kDisconnectCmd);
    rig.line.feed(hex("35 82 01 00"));
    EXPECT_EQ(rig.writtenSince(from), std::vector<QByteArray>({kProbe, kDisconnectCmd}));
    EXPECT_FALSE(rig.line.PortOpen());
    EXPECT_EQ(rig.bar.statusText, msg::text(msg::kStatusDisconnected));
    EXPECT_EQ(rig.bar.statusColour, 0x0000FFu);
    EXPECT_TRUE(rig.bar.mnulianjiEnabled());
    EXPECT_TRUE(rig.bar.mnutuojiEnabled());
    EXPECT_FALSE(rig.engine.DeviceReady);
    EXPECT_EQ(rig.engine.PendingStep, 1);
    EXPECT_EQ(rig.engine.StepValue, 0);
    EXPECT_EQ(rig.engine.StepIndex, 0);
    EXPECT_EQ(rig.engine.RecallPreset, 0);
    EXPECT_EQ(rig.engine.NextBlock, 0);
    EXPECT_FALSE(rig.engine.deviceNotifyRegistered());
    rig.clock.advance(500);
    EXPECT_EQ(rig.line.writes.size(), from + 2);
    // A second click with the link down does nothing.
    rig.engine.mnutuoji_Click();
    rig.clock.advance(100);
    EXPECT_EQ(rig.line.writes.size(), from + 2);
}

// Catches a recall that goes on reading blocks, forgets DeviceReady, or shows the wrong box;
// and a recall answered by another block not continuing in order.
TEST(LinkConnection, SectionRecall) {
    Rig rig;
    rig.connect();
    rig.prompter.boxes.clear();
    rig.engine.store(recall(10, 2, 2));
    EXPECT_EQ(rig.nextWrite(), hex("A5 67 33 31 31 30 05 0A 02 10 02 08"));
    rig.line.feed(blockReply(2, 42));
    EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kMicARecallDone)}));
    EXPECT_TRUE(rig.engine.DeviceReady);
    EXPECT_EQ(rig.engine.PendingStep, 52);
    EXPECT_EQ(rig.engine.RecallMode, 10);
    EXPECT_EQ(rig.nextWrite(300), QByteArray());

    // Music recall answered with block 2: applied as microphone A, then block 3 is asked.
    rig.engine.store(recall(9, 2, 1));
    rig.nextWrite();
    rig.appliers.calls.clear();
    rig.line.feed(blockReply(2, 42));
    EXPECT_EQ(rig.appliers.calls, QStringList({"Mic_Data"}));
    EXPECT_EQ(rig.nextWrite(), hex("A5 67 33 31 31 30 05 09 02 10 03 08"));
}

// Catches a sender that gives up early or late, shows the box before the last send, writes
// inside the request's window, or resets PendingStep. An unanswered request is awaited 73 ms:
// it goes out every fourth tick, six times in 21 ticks.
TEST(LinkSenders, UnansweredRequestGivesUpAtTheTwentyFirstTick) {
    Rig rig;
    rig.connect();
    rig.prompter.boxes.clear();
    const QByteArray frame = requestFrame({0x02, 0x01, 0x10}, Checksum::With);
    rig.engine.setFrameSource([&](int step) { return step == 2 ? frame : QByteArray(); });
    const std::size_t from = rig.line.writes.size();
    rig.prompter.onBox = [&](const RecordingPrompter::Box&) {
        EXPECT_EQ(rig.line.writes.size(), from + 6); // the last send precedes the box
        EXPECT_EQ(rig.clock.now() - rig.line.writes[from].at, 400); // the 21st tick
    };
    rig.engine.store(request(2));
    rig.clock.advance(2000);
    EXPECT_EQ(rig.writtenSince(from), std::vector<QByteArray>(6, frame));
    EXPECT_EQ(rig.line.writes.back().at - rig.line.writes[from].at, 400); // every 80 ms
    ASSERT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kNoReply)}));
    EXPECT_EQ(rig.prompter.boxes[0].title, msg::text(msg::kWindowCaption));
    EXPECT_EQ(rig.prompter.boxes[0].icon, BoxIcon::Information);
    EXPECT_EQ(rig.engine.ReplyWaitCount, 0);
    EXPECT_EQ(rig.engine.ProbeWaitCount, 0);
    EXPECT_EQ(rig.engine.PendingStep, 2);
    EXPECT_FALSE(rig.engine.Timer2().Enabled());
    EXPECT_TRUE(rig.engine.LinkUp());
    // A later change starts a fresh count.
    rig.prompter.onBox = nullptr;
    rig.engine.store(request(2));
    rig.clock.advance(2000);
    EXPECT_EQ(rig.line.writes.size(), from + 12);
}

// Catches a counter that is reset by a new request or not shared by the two senders: the
// second sender gives up at its eleventh tick.
TEST(LinkSenders, SharedCounterGivesUpAtTheEleventhTickOfTheNextStep) {
    Rig rig;
    rig.connect();
    rig.prompter.boxes.clear();
    rig.engine.setFrameSource([](int step) { return QByteArray(1, static_cast<char>(step)); });
    const std::size_t from = rig.line.writes.size();
    rig.engine.store(request(3));
    // Eight ticks unanswered; the step is stored once its window has ended.
    while (rig.engine.ReplyWaitCount < 8 || rig.engine.requestAwaited()) {
        rig.clock.advance(1);
    }
    const std::int64_t stored = rig.clock.now();
    rig.engine.store(request(40));
    std::int64_t boxAt = 0;
    rig.prompter.onBox = [&](const RecordingPrompter::Box&) { boxAt = rig.clock.now(); };
    rig.clock.advance(2000);
    EXPECT_EQ(boxAt - stored, 13 * 50);
    const auto sent = rig.writtenSince(from);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), QByteArray(1, 3)), 2);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), QByteArray(1, 40)), 7);
    EXPECT_EQ(rig.boxTexts().size(), 1);
    EXPECT_FALSE(rig.engine.Timer2().Enabled());
    EXPECT_FALSE(rig.engine.Timer3().Enabled());
}

// Catches a recall (modes 9 to 12) or whole-set download give-up leaving DeviceReady false for
// good, and the mend reaching a block read that is no recall (which must stay not ready, as
// during a connection).
TEST(LinkSenders, RecallAndDownloadGiveUpsRestoreDeviceReady) {
    struct Case {
        int step, recallMode;
        bool ready;
    };
    for (const Case c : {Case{52, 8, false}, Case{52, 9, true}, Case{52, 12, true},
                         Case{52, 13, false}, Case{53, 0, true}}) {
        SCOPED_TRACE(::testing::Message() << "step " << c.step << ", mode " << c.recallMode);
        Rig rig;
        rig.engine.setFrameSource([](int step) { return QByteArray(1, static_cast<char>(step)); });
        rig.connect();
        rig.prompter.boxes.clear();
        rig.engine.store({.test = StoreTest::LinkUpAndReady,
                          .step = c.step,
                          .RecallMode = c.recallMode,
                          .NextBlock = 1,
                          .DeviceReady = false});
        rig.clock.advance(2000);
        EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kNoReply)}));
        EXPECT_EQ(rig.engine.DeviceReady, c.ready);
    }
}

// Catches a failed write ending the sender's count (the give-up must still come).
TEST(LinkSenders, FailedWritesStillCount) {
    Rig rig;
    rig.connect();
    rig.prompter.boxes.clear();
    rig.line.failWrites = true;
    rig.engine.store(request(52));
    rig.clock.advance(1000);
    EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kNoReply)}));
}

// Catches a sender that sends a step it does not own, or counts it.
TEST(LinkSenders, ForeignOrUnknownStepStopsSilently) {
    Rig rig;
    rig.connect();
    rig.engine.setFrameSource([](int) { return QByteArray(1, 'x'); }); // any step has a frame
    for (int step : {0, 34, 53, 61}) {
        const std::size_t from = rig.line.writes.size();
        rig.engine.store(request(2));
        rig.engine.PendingStep = step; // Timer2 runs; the step is not its own
        rig.clock.advance(100);
        EXPECT_FALSE(rig.engine.Timer2().Enabled());
        EXPECT_EQ(rig.line.writes.size(), from);
        EXPECT_EQ(rig.engine.ReplyWaitCount, 0);
    }
    const std::size_t from = rig.line.writes.size();
    rig.engine.store(request(53));
    rig.engine.PendingStep = 52;
    rig.clock.advance(100);
    EXPECT_FALSE(rig.engine.Timer3().Enabled());
    EXPECT_EQ(rig.line.writes.size(), from);
    EXPECT_EQ(rig.engine.ReplyWaitCount, 0);
}

// Catches an enable that restarts a running timer: a steady stream of edits must not starve
// the sender, which writes the unanswered request every fourth tick.
TEST(LinkSenders, RepeatedEnableDoesNotRestartTheBeat) {
    Rig rig;
    rig.connect();
    rig.engine.setFrameSource([](int) { return QByteArray(1, 'x'); });
    const std::size_t from = rig.line.writes.size();
    for (int i = 0; i < 80; ++i) {
        rig.engine.store(request(2));
        rig.clock.advance(5);
    }
    EXPECT_EQ(rig.line.writes.size() - from, 5u);
}
