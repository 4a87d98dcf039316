// The connect and disconnect buttons, the port set-up and the probe's give-ups.

#include "core/messages.h"
#include "link/frames.h"
#include "link_test_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace korvanex;
using namespace korvanex::link;
using namespace korvanex::link::testing;

// Catches a give-up after other than exactly 21 probes, the wrong box, a connect attempt's
// box shown while the port is still open (a late answer under it would start the senders),
// a failed disconnection that drops the link (the pages must still see it up), and a count
// not starting afresh on the next attempt.
TEST(LinkProbe, GivesUpAfterExactly21Probes) {
    struct Case {
        const char* name;
        bool disconnecting;
        const char* box;
    };
    for (const Case& c : {Case{"connect", false, msg::kConnectFailed},
                          Case{"disconnect", true, msg::kCheckDevice}}) {
        SCOPED_TRACE(c.name);
        Rig rig;
        if (c.disconnecting) {
            rig.connect();
            rig.clock.advance(100);
            rig.prompter.boxes.clear();
        }
        bool portOpenUnderBox = false;
        rig.prompter.onBox = [&](const RecordingPrompter::Box&) {
            portOpenUnderBox = rig.line.PortOpen();
            if (!c.disconnecting) {
                rig.line.feed(hex("52 3A")); // a late answer under the box changes nothing
            }
        };
        auto click = [&] {
            c.disconnecting ? rig.engine.mnutuoji_Click() : rig.engine.mnulianji_Click();
        };
        const std::size_t from = rig.line.writes.size();
        click();
        rig.clock.advance(1000);
        EXPECT_EQ(rig.writtenSince(from), std::vector<QByteArray>(21, hex("3F")));
        ASSERT_EQ(rig.boxTexts(), QStringList({msg::text(c.box)}));
        EXPECT_EQ(rig.prompter.boxes[0].title, msg::text(msg::kSystemTitle));
        EXPECT_EQ(rig.prompter.boxes[0].icon, BoxIcon::Critical);
        EXPECT_EQ(portOpenUnderBox, c.disconnecting);
        EXPECT_EQ(rig.line.PortOpen(), c.disconnecting);
        EXPECT_EQ(rig.engine.LinkUp(), c.disconnecting);
        EXPECT_EQ(rig.engine.ProbeWaitCount, 0);
        EXPECT_FALSE(rig.engine.Timer1().Enabled() || rig.engine.Timer2().Enabled());
        rig.prompter.onBox = nullptr;
        click();
        rig.clock.advance(1000);
        EXPECT_EQ(rig.line.writes.size(), from + 42) << "the next attempt sends 21 again";
    }
}

// Catches an answer before the 21st probe refused, and the probe sending or counting while
// its answer is gathered (an answer split across the 21st tick must be accepted).
TEST(LinkProbe, AnswerBeforeTheLastProbeIsAccepted) {
    for (const bool split : {false, true}) {
        SCOPED_TRACE(split ? "split across the 21st tick" : "whole");
        Rig rig;
        rig.engine.mnulianji_Click();
        rig.clock.advance(20 * 20 + 10);
        ASSERT_EQ(rig.line.writes.size(), 20u);
        if (split) {
            rig.line.feed(hex("52"));
            rig.clock.advance(20); // the 21st tick falls inside the gather
            EXPECT_EQ(rig.line.writes.size(), 20u);
            EXPECT_EQ(rig.engine.ProbeWaitCount, 20);
            rig.line.feed(hex("3A"));
        } else {
            rig.line.feed(hex("52 3A"));
        }
        EXPECT_TRUE(rig.prompter.boxes.empty());
        EXPECT_TRUE(rig.line.PortOpen());
        EXPECT_EQ(rig.nextWrite(), hex("A5 67 33 31 31 30 02 01 7F"));
    }
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

// Catches a connect click on an open port touching the port (name, settings, a new open),
// and the probe count rule: a stopped probe gets a fresh 21 probes even when its count is
// not zero (after the probe answer), a running one continues its count.
TEST(LinkProbe, ConnectClickOnAnOpenPort) {
    struct Case {
        const char* name;
        std::function<void(Rig&)> reach;
        int probesAfterClick;
    };
    const Case cases[] = {
        {"probing, 10 probes sent",
         [](Rig& rig) {
             rig.engine.mnulianji_Click();
             rig.clock.advance(10 * 20 + 5);
         },
         11},
        {"probe answered after 4 probes, handshake pending",
         [](Rig& rig) {
             rig.engine.mnulianji_Click();
             rig.clock.advance(4 * 20 + 5);
             rig.line.feed(hex("52 3A"));
         },
         21},
        {"after an error reply while connecting",
         [](Rig& rig) {
             rig.engine.mnulianji_Click();
             rig.nextWrite();
             rig.line.feed(hex("52 3A"));
             rig.nextWrite();
             rig.line.feed(hex("FF"));
             rig.clock.advance(100);
         },
         21},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        c.reach(rig);
        ASSERT_TRUE(rig.line.PortOpen());
        const qsizetype logFrom = rig.line.log.size();
        const std::size_t from = rig.line.writes.size();
        rig.engine.PendingStep = 7;
        rig.engine.DeviceReady = true;
        rig.engine.mnulianji_Click();
        EXPECT_EQ(rig.line.log.mid(logFrom), QStringList()) << "the open port is left alone";
        EXPECT_EQ(rig.engine.PendingStep, 1);
        EXPECT_EQ(rig.engine.StepValue, 127);
        EXPECT_FALSE(rig.engine.DeviceReady);
        rig.clock.advance(1000);
        const auto sent = rig.writtenSince(from);
        EXPECT_EQ(std::count(sent.begin(), sent.end(), hex("3F")), c.probesAfterClick);
        EXPECT_EQ(rig.boxTexts().last(), msg::text(msg::kConnectFailed));
    }
}

// Catches bytes the driver still held being taken for the first reply: both buffers are
// emptied once the port is open, before anything is written.
TEST(LinkProbe, BuffersAreEmptiedRightAfterTheOpen) {
    Rig rig;
    rig.engine.mnulianji_Click();
    rig.nextWrite();
    const qsizetype open = rig.line.log.indexOf(QStringLiteral("open"));
    ASSERT_GE(open, 0);
    const QStringList next = rig.line.log.mid(open + 1, 2);
    EXPECT_TRUE(next.contains(QStringLiteral("clear in"))) << next.join(u',').toStdString();
    EXPECT_TRUE(next.contains(QStringLiteral("clear out"))) << next.join(u',').toStdString();
}

// Catches an exit that does not say goodbye to an open port (linked or still probing), closes
// before writing, or forgets the notification; and one that writes on a closed port.
TEST(LinkProbe, ExitWritesTheExitFrameThenCloses) {
    struct Case {
        const char* name;
        std::function<void(Rig&)> reach;
        bool portOpen;
    };
    const Case cases[] = {
        {"linked", [](Rig& rig) { rig.connect(); }, true},
        {"probing",
         [](Rig& rig) {
             rig.engine.mnulianji_Click();
             rig.nextWrite();
         },
         true},
        {"never connected", [](Rig&) {}, false},
        {"disconnected",
         [](Rig& rig) {
             rig.connect();
             rig.disconnect();
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        c.reach(rig);
        const std::size_t from = rig.line.writes.size();
        rig.engine.closeForExit();
        EXPECT_FALSE(rig.line.PortOpen());
        EXPECT_FALSE(rig.engine.deviceNotifyRegistered());
        EXPECT_FALSE(rig.engine.Timer1().Enabled());
        rig.clock.advance(200);
        if (!c.portOpen) {
            EXPECT_EQ(rig.line.writes.size(), from);
            continue;
        }
        EXPECT_EQ(rig.writtenSince(from), std::vector<QByteArray>({exitFrame()}));
        const QStringList tail = rig.line.log.mid(rig.line.log.size() - 3);
        EXPECT_EQ(tail, QStringList({"write", "flush", "close"}));
    }
}
