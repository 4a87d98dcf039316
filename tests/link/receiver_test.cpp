// The reply receiver: gathering, early and late judgement, and the actions of the reply
// table.

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
        engine.store(link::testing::request(step));
        nextWrite();
    }
};

} // namespace

// Catches a known code accepted at the wrong step, and an error that closes the port or
// leaves any of the three timers running (all three run when it comes).
TEST(LinkReceiver, CommunicationErrorStopsEveryTimerButKeepsThePort) {
    LinkedRig rig;
    rig.clock.advance(100); // the last block's window is over
    rig.engine.store(request(40));
    rig.engine.store(request(52));
    rig.engine.mnutuoji_Click();
    ASSERT_TRUE(rig.engine.Timer1().Enabled() && rig.engine.Timer2().Enabled() &&
                rig.engine.Timer3().Enabled());
    rig.line.feed(hex("35 82 05 01")); // the acknowledgement of step 25, at step 1
    ASSERT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kCommError)}));
    EXPECT_EQ(rig.prompter.boxes[0].title, msg::text(msg::kSystemTitle));
    EXPECT_EQ(rig.prompter.boxes[0].icon, BoxIcon::Critical);
    EXPECT_TRUE(rig.line.PortOpen());
    EXPECT_EQ(rig.engine.PendingStep, 1);
    EXPECT_FALSE(rig.engine.Timer1().Enabled());
    EXPECT_FALSE(rig.engine.Timer2().Enabled());
    EXPECT_FALSE(rig.engine.Timer3().Enabled());
    EXPECT_EQ(rig.bar.statusText, msg::text(msg::kStatusConnected));
    EXPECT_TRUE(rig.engine.LinkUp());
}

// Catches a counter rule broken by any reply or give-up (the counters are non-zero before
// each event), and a judged reply that leaves either buffer unemptied.
TEST(LinkReceiver, CounterRulesAndBufferClearsOfEveryOutcome) {
    struct Case {
        const char* name;
        std::function<void(Rig&)> reach; // leaves the engine waiting for `reply`
        QByteArray reply;                // empty: the sender's 21st send gives up instead
        int probeCount, replyCount, recallMode;
    };
    const auto connectClicked = [](Rig& rig) {
        rig.engine.mnulianji_Click();
        rig.nextWrite();
    };
    const auto probeAnswered = [=](Rig& rig) {
        connectClicked(rig);
        rig.line.feed(hex("52 3A"));
        rig.nextWrite();
    };
    const auto linked = [](Rig& rig) {
        rig.connect();
        rig.engine.setFrameSource([](int step) { return QByteArray(1, char(step)); });
        rig.engine.store(request(25));
        rig.nextWrite();
    };
    const Case cases[] = {
        {"probe answer leaves both", connectClicked, hex("52 3A"), 5, 7, 9},
        {"handshake zeroes both", probeAnswered, hex("35 82 01 7F"), 0, 0, 9},
        {"block zeroes both",
         [=](Rig& rig) {
             probeAnswered(rig);
             rig.line.feed(hex("35 82 01 7F"));
             rig.nextWrite();
         },
         blockReply(1, 86), 0, 0, 9},
        {"acknowledgement zeroes both", linked, hex("35 82 05 01"), 0, 0, 9},
        {"error zeroes both", linked, hex("35 82 05 02"), 0, 0, 9},
        {"disconnection zeroes both and RecallMode",
         [](Rig& rig) {
             rig.connect();
             rig.engine.mnutuoji_Click();
             rig.nextWrite();
             rig.line.feed(hex("52 3A"));
             rig.nextWrite();
         },
         hex("35 82 01 00"), 0, 0, 0},
        {"give-up zeroes both", linked, {}, 0, 0, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        c.reach(rig);
        rig.engine.ProbeWaitCount = 5;
        rig.engine.ReplyWaitCount = c.reply.isEmpty() ? 20 : 7;
        rig.engine.RecallMode = 9;
        const int inClears = rig.line.inClears;
        const int outClears = rig.line.outClears;
        if (c.reply.isEmpty()) {
            rig.nextWrite();
        } else {
            rig.line.feed(c.reply);
            EXPECT_EQ(rig.line.inClears, inClears + 1);
            EXPECT_EQ(rig.line.outClears, outClears + 1);
        }
        EXPECT_EQ(rig.engine.ProbeWaitCount, c.probeCount);
        EXPECT_EQ(rig.engine.ReplyWaitCount, c.replyCount);
        EXPECT_EQ(rig.engine.RecallMode, c.recallMode);
    }
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
    rig.clock.advance(170); // written at its first tick and again after its 71 ms window
    EXPECT_FALSE(rig.engine.Timer2().Enabled());
    EXPECT_TRUE(rig.engine.Timer3().Enabled());
    EXPECT_EQ(rig.writtenSince(from), std::vector<QByteArray>(2, QByteArray(1, 60)));
}

// Catches a block stored under NextBlock instead of the reply's number, lower-case or
// misaligned elements, a short reply leaving stale elements, a long one overflowing, and a
// recall carried on to the system block that never ends (every later store put off).
TEST(LinkReceiver, BlockStores) {
    LinkedRig rig;
    rig.engine.Blocks.EffectBlock.fill(QStringLiteral("77"));
    rig.engine.RecallMode = 9; // a music recall
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
    EXPECT_EQ(rig.nextWrite(), blockReadFrame(9, 0, 4));
    rig.line.feed(blockReply(4, 60, 1));
    EXPECT_EQ(rig.engine.Blocks.MicBBlock[41], QStringLiteral("2A"));
    // Continued to the system block, the recall ends as a connection does.
    EXPECT_EQ(rig.nextWrite(), blockReadFrame(9, 0, 5));
    rig.line.feed(blockReply(5, 23));
    EXPECT_TRUE(rig.engine.DeviceReady);
    EXPECT_FALSE(rig.engine.recallOrDownloadRunning());
}

// Catches a request stored by an applier that cuts into the recall (its block read replaced,
// the completion box and DeviceReady lost) instead of following it.
TEST(LinkReceiver, RequestStoredByAnApplierFollowsTheRecall) {
    LinkedRig rig;
    struct Storing : RecordingAppliers {
        LinkEngine* engine = nullptr;
        void Mic_Data() override { engine->store(request(3)); }
    } appliers;
    appliers.engine = &rig.engine;
    rig.engine.setAppliers(&appliers);
    rig.engine.store(recall(10, 1, 1));
    EXPECT_EQ(rig.nextWrite(), blockReadFrame(10, 1, 1));
    rig.line.feed(blockReply(2, 42));
    EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kMicARecallDone)}));
    EXPECT_TRUE(rig.engine.DeviceReady);
    EXPECT_EQ(rig.engine.PendingStep, 3);
    EXPECT_EQ(rig.nextWrite(), QByteArray(1, 3));
}

// Catches judging a split reply too early (below 70 ms it is one reply) and joining bytes
// across the window (above 70 ms they are two replies).
TEST(LinkReceiver, SplitRepliesJoinWithinTheWindowOnly) {
    LinkedRig rig;
    rig.request(25);
    rig.line.feed(hex("35 82"));
    rig.clock.advance(69);
    rig.line.feed(hex("05 01"));
    EXPECT_TRUE(rig.prompter.boxes.empty());
    EXPECT_FALSE(rig.engine.Timer2().Enabled());

    rig.clock.advance(100);
    rig.request(25);
    rig.line.feed(hex("35 82"));
    rig.clock.advance(70);
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
// (bytes that would be an error if judged are dropped until the next write, and only until).
TEST(LinkReceiver, EarlyJudgementDropsTheTailUntilTheNextWrite) {
    LinkedRig rig;
    rig.request(25);
    const std::int64_t sent = rig.clock.now();
    rig.line.feed(hex("35 82 05 01"));
    EXPECT_FALSE(rig.engine.Timer2().Enabled()); // judged at once
    EXPECT_EQ(rig.clock.now(), sent);
    rig.clock.advance(10);
    rig.line.feed(hex("EE EE EE EE"));
    rig.request(26);
    EXPECT_TRUE(rig.prompter.boxes.empty());
    ASSERT_LT(rig.clock.now() - sent, 70) << "the next write falls inside the window";
    rig.line.feed(hex("EE EE EE EE"));
    rig.clock.advance(100);
    EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kCommError)}));
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

// Catches an engine that leaves its handlers on a line that outlives it (a receive event
// would then run a dead engine).
TEST(LinkReceiver, EngineGoneLeavesTheLineAlone) {
    FakeClock clock;
    ScriptedLine line(clock);
    {
        MemoryConnectBar bar;
        RecordingPrompter prompter;
        LinkEngine engine(line, bar, prompter, clock.factory(), [] { return QString(); });
        ASSERT_TRUE(line.OnComm && line.OnDeviceLost);
    }
    EXPECT_FALSE(line.OnComm);
    EXPECT_FALSE(line.OnDeviceLost);
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
