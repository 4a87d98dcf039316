// What handlers store for the senders: the store's own test, and stores and clicks made while
// a request awaits its answer or a reply is being gathered.

#include "core/messages.h"
#include "link/frames.h"
#include "link_test_helpers.h"

#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::link;
using namespace korvanex::link::testing;

namespace {

const QByteArray kProbe = hex("3F");
const QByteArray kConnectCmd = hex("A5 67 33 31 31 30 02 01 7F");

// A linked rig past the last block's window, parameter steps sending their number and the
// value of their control.
struct QuietLinkedRig : Rig {
    QuietLinkedRig() {
        connect();
        clock.advance(100);
        prompter.boxes.clear();
        engine.setFrameSource([this](int step) {
            return QByteArray({static_cast<char>(step), static_cast<char>(value)});
        });
    }
    int value = 1;
};

} // namespace

// Catches a store made although its test fails (or refused although it holds), a refused
// store that still writes a field, and a sender started on a closed port.
TEST(LinkStores, TheStoresOwnTestDecides) {
    enum class State { Closed, Connecting, LinkedNotReady, LinkedReady };
    struct Case {
        const char* name;
        State state;
        bool always, linkUp, linkUpAndReady; // applied under each test
    };
    const Case cases[] = {
        {"port closed", State::Closed, true, false, false},
        {"connecting", State::Connecting, true, false, false},
        {"linked, not ready", State::LinkedNotReady, true, true, false},
        {"linked and ready", State::LinkedReady, true, true, true},
    };
    for (const Case& c : cases) {
        for (const StoreTest test :
             {StoreTest::Always, StoreTest::LinkUp, StoreTest::LinkUpAndReady}) {
            SCOPED_TRACE(::testing::Message() << c.name << ", test " << int(test));
            Rig rig;
            if (c.state == State::Connecting) {
                rig.engine.mnulianji_Click();
            } else if (c.state != State::Closed) {
                rig.connect();
                rig.clock.advance(100);
                rig.engine.DeviceReady = c.state == State::LinkedReady;
            }
            const bool expected = test == StoreTest::Always   ? c.always
                                  : test == StoreTest::LinkUp ? c.linkUp
                                                              : c.linkUpAndReady;
            const int stepBefore = rig.engine.PendingStep;
            const bool ready = rig.engine.DeviceReady;
            EXPECT_EQ(rig.engine.store({.test = test,
                                        .step = 40,
                                        .StepValue = 99,
                                        .StepIndex = 98,
                                        .SaveModeIndex = 97,
                                        .RecallMode = 96,
                                        .RecallPreset = 95,
                                        .NextBlock = 94,
                                        .DeviceReady = !ready}),
                      expected);
            const LinkEngine& e = rig.engine;
            const std::vector<int> fields = {e.StepValue,  e.StepIndex,    e.SaveModeIndex,
                                             e.RecallMode, e.RecallPreset, e.NextBlock};
            EXPECT_EQ(fields == std::vector<int>({99, 98, 97, 96, 95, 94}), expected);
            EXPECT_EQ(e.DeviceReady, expected ? !ready : ready);
            EXPECT_EQ(rig.engine.PendingStep, expected ? 40 : stepBefore);
            EXPECT_EQ(rig.engine.Timer3().Enabled(), expected && rig.line.PortOpen());
        }
    }
}

// Catches a store made while a request awaits its answer (before its first byte or while it
// arrives) that the answer is judged against (an error for the first control), that is lost
// (the last move of a drag, stopped by the acknowledgement of its previous frame), that cuts in
// before the judgement or changes a link variable before it is applied.
TEST(LinkStores, StoresWhileARequestIsAwaitedFollowItsJudgement) {
    struct Case {
        const char* name;
        LinkStore store;
        QByteArray next; // the next frame, with the control moved to 2
    };
    const Case cases[] = {
        {"drag", request(25), QByteArray({25, 2})},
        {"second control", {.step = 40, .StepValue = 4}, QByteArray({40, 2})},
        {"recall", recall(10, 2, 2), blockReadFrame(10, 2, 2)},
    };
    for (const Case& c : cases) {
        for (const bool duringAnswer : {false, true}) {
            SCOPED_TRACE(::testing::Message() << c.name << (duringAnswer ? ", answer begun" : ""));
            QuietLinkedRig rig;
            rig.engine.store(request(25));
            EXPECT_EQ(rig.nextWrite(), QByteArray({25, 1}));
            rig.clock.advance(3);
            if (duringAnswer) {
                rig.line.feed(hex("35 82"));
            }
            rig.value = 2;
            EXPECT_TRUE(rig.engine.store(c.store));
            EXPECT_EQ(rig.engine.PendingStep, 25) << "put off";
            EXPECT_EQ(rig.engine.StepValue, 0x7F);
            EXPECT_TRUE(rig.engine.DeviceReady);
            EXPECT_FALSE(rig.engine.Timer3().Enabled());
            rig.line.feed(duringAnswer ? hex("05 01") : hex("35 82 05 01"));
            EXPECT_TRUE(rig.prompter.boxes.empty()) << "judged as step 25's acknowledgement";
            EXPECT_EQ(rig.engine.PendingStep, *c.store.step);
            EXPECT_EQ(rig.nextWrite(), c.next);
        }
    }
}

// Catches a section recall clicked during the gather of the disconnection's acknowledgement
// surviving the disconnection: the next connection would ask for a recall and never complete.
TEST(LinkStores, RecallDuringTheDisconnectionAcknowledgementIsDropped) {
    Rig rig;
    rig.connect();
    rig.engine.mnutuoji_Click();
    rig.nextWrite();
    rig.line.feed(hex("52 3A"));
    rig.nextWrite();
    rig.line.feed(hex("35 82 01"));
    EXPECT_TRUE(rig.engine.store(recall(9, 3, 1)));
    rig.line.feed(hex("00"));
    EXPECT_FALSE(rig.line.PortOpen());
    EXPECT_EQ(rig.engine.PendingStep, 1);
    EXPECT_EQ(rig.engine.RecallMode, 0);
    EXPECT_EQ(rig.engine.RecallPreset, 0);
    EXPECT_EQ(rig.engine.NextBlock, 0);
    EXPECT_FALSE(rig.engine.DeviceReady);
    EXPECT_FALSE(rig.engine.Timer2().Enabled());

    rig.prompter.boxes.clear();
    const std::size_t from = rig.line.writes.size();
    rig.connect();
    const auto sent = rig.writtenSince(from);
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[2], blockReadFrame(0, 0, 1));
    EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kConnectDone)}));
}

// Catches a connect click during the gather of the handshake's acknowledgement losing its
// PendingStep 1, or leaving the probe running beside the block reads.
TEST(LinkStores, ConnectClickDuringTheHandshakeTakesEffectAfterIt) {
    Rig rig;
    rig.engine.mnulianji_Click();
    rig.nextWrite();
    rig.line.feed(hex("52 3A"));
    EXPECT_EQ(rig.nextWrite(), kConnectCmd);
    rig.line.feed(hex("35 82"));
    rig.engine.mnulianji_Click();
    EXPECT_FALSE(rig.engine.Timer1().Enabled()) << "waits for the judgement";
    rig.line.feed(hex("01 7F"));
    EXPECT_EQ(rig.engine.PendingStep, 1);
    EXPECT_EQ(rig.engine.StepValue, 0x7F);
    EXPECT_FALSE(rig.engine.DeviceReady);
    EXPECT_TRUE(rig.engine.Timer1().Enabled());
    EXPECT_EQ(rig.engine.ProbeWaitCount, 0) << "a stopped probe starts a fresh count";
    const std::size_t from = rig.line.writes.size();
    rig.clock.advance(20);
    EXPECT_EQ(rig.writtenSince(from), std::vector<QByteArray>({kProbe, kConnectCmd}));
}

// Catches a disconnect click during a gather that is lost, starts the probe before the
// judgement, or is not tested again for the link (after the link ended in the judgement).
TEST(LinkStores, DisconnectClickDuringAGatherIsTestedAgain) {
    QuietLinkedRig rig;
    rig.engine.store(request(25));
    rig.nextWrite();
    rig.line.feed(hex("35 82"));
    rig.engine.mnutuoji_Click();
    EXPECT_EQ(rig.engine.PendingStep, 25) << "put off";
    EXPECT_FALSE(rig.engine.Timer1().Enabled());
    rig.line.feed(hex("05 01"));
    EXPECT_TRUE(rig.prompter.boxes.empty());
    EXPECT_TRUE(rig.engine.Timer1().Enabled());
    EXPECT_EQ(rig.engine.PendingStep, 1);
    EXPECT_EQ(rig.engine.StepValue, 0);

    // A second click while the disconnection's acknowledgement arrives: the link ends.
    rig.nextWrite();
    rig.line.feed(hex("52 3A"));
    rig.nextWrite();
    rig.line.feed(hex("35 82 01"));
    rig.engine.mnutuoji_Click();
    rig.line.feed(hex("00"));
    EXPECT_FALSE(rig.line.PortOpen());
    EXPECT_FALSE(rig.engine.Timer1().Enabled());
}
