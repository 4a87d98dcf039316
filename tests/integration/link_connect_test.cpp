// The connection's way over a real pseudo-terminal: the real serial control and link engine
// against the simulated unit.
#include "link_rig.h"

#include "core/messages.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::testing;
using sim::Fault;
using sim::RequestKind;

namespace {

QString hexOf(const QByteArray& block, int k) {
    return QString::fromLatin1(block.mid(k, 1).toHex().toUpper());
}

} // namespace

// Catches: any break on the way probe -> handshake -> five block reads -> "已连接", or
// blocks stored other than the unit sent them.
TEST(LinkOverPty, ConnectReadsTheFiveBlocks) {
    LinkRig rig;
    ASSERT_TRUE(rig.connect()) << "no connection";
    EXPECT_EQ(rig.bar.statusColour, link::kStatusGreen);
    EXPECT_FALSE(rig.bar.connectEnabled);
    EXPECT_TRUE(rig.bar.disconnectEnabled);
    EXPECT_TRUE(rig.engine.DeviceReady);
    EXPECT_TRUE(rig.engine.LinkUp());
    EXPECT_EQ(rig.boxes(msg::kConnectDone), 1);
    EXPECT_EQ(rig.prompter.boxes.size(), 1u) << "no other box on a clean connection";

    std::vector<int> blocks;
    for (const auto& r : rig.unit.peer().requests()) {
        if (r.kind == RequestKind::BlockRead) {
            blocks.push_back(r.block);
            EXPECT_EQ(r.recallMode, 0);
        }
    }
    EXPECT_EQ(blocks, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(rig.received(RequestKind::Link), 1);
    EXPECT_EQ(rig.unit.peer().badFrames(), 0) << "every frame the program sent was well formed";

    const auto& model = rig.unit.peer().model();
    for (int k = 0; k < 86; ++k) {
        ASSERT_EQ(rig.engine.Blocks.MusicBlock[std::size_t(k)], hexOf(model.block(1), k)) << k;
    }
    EXPECT_EQ(rig.engine.Blocks.EffectBlock[40], hexOf(model.block(3), 40));
    EXPECT_EQ(rig.engine.Blocks.SystemBlock[22], hexOf(model.block(5), 22));
}

// Catches: a unit that answers a request after the next sender tick failing to connect (the
// answers to the request's copies judged against the next request: "通信发生异常!"), and a
// fast unit's answers being held. A 20 ms unit's two answers come about 20 ms apart against
// the 70 ms window; slower units, whose copies' answers come closer to the window's end, are
// tested on the fake clock, where a busy machine cannot stretch the gaps.
TEST(LinkOverPty, SlowUnitsConnect) {
    for (const int latencyMs : {2, 20}) {
        SCOPED_TRACE(latencyMs);
        LinkRig rig;
        rig.unit.setLine({sim::PtyUnit::kLineRateUsPerByte, latencyMs});
        ASSERT_TRUE(rig.connect(15000)) << "no connection";
        EXPECT_EQ(rig.prompter.boxes.size(), 1u) << "only the completion box";
        EXPECT_EQ(rig.unit.peer().badFrames(), 0);
        std::vector<int> blocks;
        for (const auto& r : rig.unit.peer().requests()) {
            if (r.kind == RequestKind::BlockRead && (blocks.empty() || blocks.back() != r.block)) {
                blocks.push_back(r.block);
            }
        }
        EXPECT_EQ(blocks, (std::vector<int>{1, 2, 3, 4, 5}));
    }
}

// Catches: a disconnection that leaves the port open or the status green, or a second
// connection that fails after it.
TEST(LinkOverPty, DisconnectThenConnectAgain) {
    LinkRig rig;
    ASSERT_TRUE(rig.connect());
    rig.engine.mnutuoji_Click();
    ASSERT_TRUE(waitUntil([&] { return rig.bar.statusText == text(msg::kStatusDisconnected); }));
    EXPECT_EQ(rig.bar.statusColour, link::kStatusRed);
    EXPECT_FALSE(rig.line.PortOpen());
    EXPECT_TRUE(rig.bar.connectEnabled);
    EXPECT_FALSE(rig.unit.peer().model().linked()) << "the unit got the disconnect command";

    // A person's next click comes later than the unit's answers to resends still on the line.
    QTest::qWait(50);
    ASSERT_TRUE(rig.connect()) << "connecting again after a disconnection";
    EXPECT_EQ(rig.boxes(msg::kConnectDone), 2);
}

// Catches: a probe that gives up after the wrong number of bytes, leaves the port open, or
// shows the wrong box.
TEST(LinkOverPty, SilentUnitTimesOutTheProbe) {
    LinkRig rig;
    Fault silent;
    silent.when.kind = RequestKind::Probe;
    silent.silentSends = -1;
    rig.unit.peer().faults().add(silent);
    rig.engine.mnulianji_Click();
    ASSERT_TRUE(waitUntil([&] { return rig.boxes(msg::kConnectFailed) == 1; }));
    EXPECT_EQ(rig.prompter.boxes.back().icon, BoxIcon::Critical);
    EXPECT_EQ(rig.prompter.boxes.back().title, text(msg::kSystemTitle));
    EXPECT_FALSE(rig.line.PortOpen());
    QTest::qWait(100);
    EXPECT_EQ(rig.received(RequestKind::Probe), 21);
    EXPECT_EQ(rig.received(RequestKind::Link), 0);
}

// Catches: a request resent inside its window (more than every fourth tick, six times in the
// 21 ticks before the give-up), or whose give-up is silent. A loaded machine may delay the end
// of a window past a tick, never before it.
TEST(LinkOverPty, UnansweredBlockReadTimesOut) {
    LinkRig rig;
    Fault silent;
    silent.when.kind = RequestKind::BlockRead;
    silent.when.block = 3;
    silent.silentSends = -1;
    rig.unit.peer().faults().add(silent);
    rig.engine.mnulianji_Click();
    ASSERT_TRUE(waitUntil([&] { return rig.boxes(msg::kNoReply) == 1; }));
    EXPECT_EQ(rig.prompter.boxes.back().icon, BoxIcon::Information);
    EXPECT_EQ(rig.prompter.boxes.back().title, text(msg::kWindowCaption));
    QTest::qWait(100);
    int reads3 = 0;
    for (const auto& r : rig.unit.peer().requests()) {
        reads3 += r.kind == RequestKind::BlockRead && r.block == 3 ? 1 : 0;
    }
    EXPECT_GE(reads3, 4);
    EXPECT_LE(reads3, 6);
    EXPECT_TRUE(rig.line.PortOpen()) << "a request time-out leaves the port open";
    EXPECT_NE(rig.bar.statusText, text(msg::kStatusConnected));
    EXPECT_EQ(rig.engine.ReplyWaitCount, 0);
}

// Catches: a wrong answer taken as the right one, or an error that keeps the senders running.
TEST(LinkOverPty, WrongCodeIsACommunicationError) {
    LinkRig rig;
    Fault wrong;
    wrong.when.kind = RequestKind::BlockRead;
    wrong.when.block = 2;
    wrong.replyWith = QByteArray("\x35\x82\x09\x09", 4);
    rig.unit.peer().faults().add(wrong);
    rig.engine.mnulianji_Click();
    ASSERT_TRUE(waitUntil([&] { return rig.boxes(msg::kCommError) == 1; }));
    EXPECT_EQ(rig.prompter.boxes.back().icon, BoxIcon::Critical);
    const int requestsThen = int(rig.unit.peer().requests().size());
    QTest::qWait(150);
    EXPECT_EQ(int(rig.unit.peer().requests().size()), requestsThen) << "nothing more is sent";
    EXPECT_FALSE(rig.engine.Timer1().Enabled() || rig.engine.Timer2().Enabled() ||
                 rig.engine.Timer3().Enabled());
    EXPECT_TRUE(rig.line.PortOpen());
    EXPECT_EQ(rig.boxes(msg::kCommError), 1);

    rig.unit.peer().faults().clear();
    ASSERT_TRUE(rig.connect()) << "a new click on the open port connects";
}

// Catches: garbage taken as an answer, or a unit answer withheld until a resend not being
// waited for.
TEST(LinkOverPty, ResendsCarryTheLinkThroughSilence) {
    LinkRig rig;
    Fault late;
    late.when.kind = RequestKind::Link;
    late.silentSends = 2; // the second resend is answered
    rig.unit.peer().faults().add(late);
    Fault slow;
    slow.when.kind = RequestKind::BlockRead;
    slow.when.block = 4;
    slow.silentSends = 2;
    rig.unit.peer().faults().add(slow);
    ASSERT_TRUE(rig.connect());
    EXPECT_EQ(rig.received(RequestKind::Link), 3);
    EXPECT_EQ(rig.boxes(msg::kNoReply), 0);
}

// Catches: an acknowledged edit lost by the unit, or a section recall that reads another
// preset than the one asked for or never completes.
TEST(LinkOverPty, EditIsReadBackAndRecallReadsThePreset) {
    LinkRig rig;
    ASSERT_TRUE(rig.connect());
    // Microphone A low cut to 99 (step 9), as the page would send it.
    rig.engine.setFrameSource([](int step) {
        return step == 9 ? QByteArray("\xA5\x67\x33\x31\x31\x30\x04\x03\x02\x63\x68", 11)
                         : QByteArray();
    });
    rig.engine.store({.step = 9});
    ASSERT_TRUE(waitUntil([&] { return !rig.engine.Timer2().Enabled(); }));
    EXPECT_EQ(rig.boxes(msg::kCommError), 0);

    QTest::qWait(100);
    const link::LinkStore recall{.test = link::StoreTest::LinkUpAndReady,
                                 .step = 52,
                                 .RecallMode = 10,
                                 .RecallPreset = 0,
                                 .NextBlock = 2,
                                 .DeviceReady = false};
    ASSERT_TRUE(rig.engine.store(recall));
    ASSERT_TRUE(waitUntil([&] { return rig.boxes(msg::kMicARecallDone) == 1; }));
    EXPECT_EQ(rig.engine.Blocks.MicABlock[40], QStringLiteral("63")) << "the edit was kept";

    QTest::qWait(100);
    link::LinkStore other = recall;
    other.RecallPreset = 4;
    ASSERT_TRUE(rig.engine.store(other));
    ASSERT_TRUE(waitUntil([&] { return rig.boxes(msg::kMicARecallDone) == 2; }));
    EXPECT_EQ(rig.unit.peer().model().currentPreset(1), 4);
    EXPECT_EQ(rig.engine.Blocks.MicABlock[40],
              QString::fromLatin1(rig.unit.peer().model().block(2).mid(40, 1).toHex().toUpper()));
    EXPECT_NE(rig.engine.Blocks.MicABlock[40], QStringLiteral("63"));
    EXPECT_TRUE(rig.engine.DeviceReady);
}
