// The connect and disconnect buttons, the port set-up and the probe's give-ups.

#include "core/messages.h"
#include "link_test_helpers.h"

#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::link;
using namespace korvanex::link::testing;

namespace {} // namespace

// Catches a give-up after the wrong number of probes, the box shown while the port is still
// open (a late answer under it would start the senders), or the port left open.
TEST(LinkProbe, ConnectGivesUpAfter21ProbesWithThePortClosedFirst) {
    Rig rig;
    bool portOpenUnderBox = true;
    rig.prompter.onBox = [&](const RecordingPrompter::Box&) {
        portOpenUnderBox = rig.line.PortOpen();
        rig.line.feed(hex("52 3A")); // a late answer under the box changes nothing
    };
    rig.engine.mnulianji_Click();
    rig.clock.advance(1000);
    EXPECT_EQ(rig.writtenSince(0), std::vector<QByteArray>(21, hex("3F")));
    EXPECT_FALSE(portOpenUnderBox);
    ASSERT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kConnectFailed)}));
    EXPECT_EQ(rig.prompter.boxes[0].title, msg::text(msg::kSystemTitle));
    EXPECT_EQ(rig.prompter.boxes[0].icon, BoxIcon::Critical);
    EXPECT_EQ(rig.engine.ProbeWaitCount, 0);
    EXPECT_FALSE(rig.engine.Timer1().Enabled());
    EXPECT_FALSE(rig.engine.Timer2().Enabled());
    // A fresh attempt sends 21 probes again.
    rig.prompter.onBox = nullptr;
    rig.engine.mnulianji_Click();
    rig.clock.advance(1000);
    EXPECT_EQ(rig.line.writes.size(), 42u);
}

// Catches an answer between the 20th and 21st probe being refused.
TEST(LinkProbe, AnswerJustBeforeTheLastProbeIsAccepted) {
    Rig rig;
    rig.engine.mnulianji_Click();
    rig.clock.advance(20 * 20 + 5);
    EXPECT_EQ(rig.line.writes.size(), 20u);
    rig.line.feed(hex("52 3A"));
    EXPECT_EQ(rig.nextWrite(), hex("A5 67 33 31 31 30 02 01 7F"));
    EXPECT_TRUE(rig.prompter.boxes.empty());
}

// Catches a failed disconnect probe that drops the link (the pages must still see it up).
TEST(LinkProbe, FailedDisconnectKeepsTheLinkUp) {
    Rig rig;
    rig.connect();
    rig.prompter.boxes.clear();
    rig.engine.mnutuoji_Click();
    rig.clock.advance(1000);
    ASSERT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kCheckDevice)}));
    EXPECT_EQ(rig.prompter.boxes[0].title, msg::text(msg::kSystemTitle));
    EXPECT_EQ(rig.prompter.boxes[0].icon, BoxIcon::Critical);
    EXPECT_TRUE(rig.engine.LinkUp());
    EXPECT_FALSE(rig.bar.mnulianjiEnabled());
}

// Catches a missing "no device" box, and a forgotten port when a later search finds none.
TEST(LinkProbe, PortSearchIsStickyForTheRun) {
    Rig rig;
    rig.portFound.clear();
    rig.engine.mnulianji_Click();
    ASSERT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kUsbNotConnected)}));
    EXPECT_EQ(rig.prompter.boxes[0].icon, BoxIcon::Critical);
    EXPECT_EQ(rig.prompter.boxes[0].title, msg::text(msg::kWindowCaption));
    EXPECT_EQ(rig.line.opens, 0);
    EXPECT_FALSE(rig.engine.Timer1().Enabled());

    rig.portFound = QStringLiteral("ttyUSB3");
    rig.connect();
    rig.engine.mnutuoji_Click();
    rig.nextWrite();
    rig.line.feed(hex("52 3A"));
    rig.nextWrite();
    rig.line.feed(hex("35 82 01 00"));
    rig.prompter.boxes.clear();
    rig.portFound.clear();
    rig.engine.mnulianji_Click();
    EXPECT_TRUE(rig.prompter.boxes.empty());
    EXPECT_TRUE(rig.line.PortOpen());
    EXPECT_EQ(rig.line.CommPort(), QStringLiteral("ttyUSB3"));
}

// Catches a probe sent on a port that could not be opened, and the wrong box for it.
TEST(LinkProbe, PortThatCannotOpenSendsNothing) {
    Rig rig;
    rig.line.nextOpen = SerialLine::OpenResult::CannotOpen;
    rig.engine.mnulianji_Click();
    rig.clock.advance(500);
    EXPECT_TRUE(rig.line.writes.empty());
    ASSERT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kConnectFailed)}));
    EXPECT_EQ(rig.prompter.boxes[0].title, msg::text(msg::kSystemTitle));
    EXPECT_EQ(rig.prompter.boxes[0].icon, BoxIcon::Critical);
    EXPECT_TRUE(rig.quits.empty());
}

// Catches refused settings that leave the program running without a box, or exit status 0.
TEST(LinkProbe, RefusedSettingsEndTheProgram) {
    Rig rig;
    rig.line.nextOpen = SerialLine::OpenResult::SettingsRefused;
    rig.engine.mnulianji_Click();
    rig.clock.advance(500);
    EXPECT_TRUE(rig.line.writes.empty());
    ASSERT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kPortSetupFailed)}));
    EXPECT_EQ(rig.prompter.boxes[0].icon, BoxIcon::Information);
    EXPECT_EQ(rig.prompter.boxes[0].title, msg::text(msg::kWindowCaption));
    EXPECT_EQ(rig.quits, std::vector<int>({1}));
    EXPECT_FALSE(rig.line.PortOpen());
}

// Catches a connect click on an open port re-applying its settings, or a count that does
// not restart (a fresh attempt must send exactly 21 probes; a running one keeps its count).
TEST(LinkProbe, ConnectClickOnAnOpenPort) {
    Rig rig;
    rig.engine.mnulianji_Click();
    rig.nextWrite();
    rig.line.feed(hex("52 3A"));
    rig.nextWrite();
    rig.line.feed(hex("FF")); // wrong reply during connecting: the port stays open
    rig.clock.advance(100);
    EXPECT_TRUE(rig.line.PortOpen());
    EXPECT_TRUE(rig.bar.mnulianjiEnabled());
    const QStringList logBefore = rig.line.log;
    const std::size_t from = rig.line.writes.size();
    rig.engine.PendingStep = 7;
    rig.engine.mnulianji_Click();
    EXPECT_EQ(rig.line.opens, 1);
    EXPECT_EQ(rig.engine.PendingStep, 1);
    EXPECT_EQ(rig.engine.StepValue, 127);
    EXPECT_FALSE(rig.engine.DeviceReady);
    rig.clock.advance(10 * 20);
    rig.engine.mnulianji_Click(); // during the running probe: the count goes on
    rig.clock.advance(1000);
    EXPECT_EQ(rig.line.writes.size() - from, 21u);
    EXPECT_FALSE(rig.line.log.mid(logBefore.size()).contains(QStringLiteral("open")));
}

// Catches an exit that does not say goodbye to the unit, closes before writing, or forgets
// the notification; and one that writes on a closed port.
TEST(LinkProbe, ExitWritesTheExitFrameThenCloses) {
    Rig rig;
    rig.connect();
    rig.engine.closeForExit();
    EXPECT_EQ(rig.line.writes.back().bytes, hex("A5 67 33 31 31 30 02 01 00"));
    const QStringList tail = rig.line.log.mid(rig.line.log.size() - 2);
    EXPECT_EQ(tail, QStringList({"write", "close"}));
    EXPECT_GE(rig.line.flushes, 1);
    EXPECT_FALSE(rig.engine.deviceNotifyRegistered());
    EXPECT_FALSE(rig.engine.Timer1().Enabled());

    Rig closed;
    closed.engine.closeForExit();
    EXPECT_TRUE(closed.line.writes.empty());
}
