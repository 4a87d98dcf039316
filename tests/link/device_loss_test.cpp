// A device that vanishes: under an applier, under a box, while probing or gathering.

#include "core/messages.h"
#include "link_test_helpers.h"

#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::link;
using namespace korvanex::link::testing;

// Catches the link going on after the device vanished under an applier (the equaliser mode
// box of block 5, a recall's block) or a box: "已连接" on a closed port with "连接" disabled, a
// dead end. Also a status other than "未连接" before the first completed connection, a sender
// left running, and a reconnection that needs a restart.
TEST(LinkReceiver, DeviceLossEndsTheLinkWhereverItComes) {
    enum class Where {
        Probing,
        SystemApplierFirst,
        SystemApplierLater,
        CompletionBox,
        Recall,
        Gather
    };
    struct Case {
        const char* name;
        Where where;
        const char* status;
    };
    const Case cases[] = {
        {"while probing", Where::Probing, msg::kStatusIdle},
        {"under block 5, first connection", Where::SystemApplierFirst, msg::kStatusIdle},
        {"under block 5, later connection", Where::SystemApplierLater, msg::kStatusDisconnected},
        {"under the completion box", Where::CompletionBox, msg::kStatusIdle},
        {"under a recall's block", Where::Recall, msg::kStatusDisconnected},
        {"during a gather", Where::Gather, msg::kStatusDisconnected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        auto unplugIn = [&](const char* applier) {
            rig.appliers.during = [&rig, applier](const QString& name) {
                if (name == QLatin1String(applier)) {
                    rig.line.unplug();
                }
            };
        };
        switch (c.where) {
        case Where::Probing:
            rig.engine.mnulianji_Click();
            rig.nextWrite();
            rig.line.unplug();
            break;
        case Where::SystemApplierLater:
            rig.connect();
            rig.disconnect();
            [[fallthrough]];
        case Where::SystemApplierFirst:
            unplugIn("set_Data");
            rig.connect();
            break;
        case Where::CompletionBox:
            rig.prompter.onBox = [&](const RecordingPrompter::Box& box) {
                if (box.text == msg::text(msg::kConnectDone)) {
                    rig.line.unplug();
                }
            };
            rig.connect();
            break;
        case Where::Recall:
            rig.connect();
            unplugIn("Mic_Data");
            rig.engine.store(recall(10, 1, 2));
            rig.nextWrite();
            rig.line.feed(blockReply(2, 42));
            break;
        case Where::Gather:
            rig.connect();
            rig.engine.store(request(52));
            rig.nextWrite();
            rig.line.feed(hex("10"));
            // Logged for after the judgement that never comes: void with the loss.
            rig.engine.store({.test = StoreTest::Always, .step = 40});
            rig.line.unplug();
            break;
        }
        rig.appliers.during = nullptr;
        rig.prompter.onBox = nullptr;
        ASSERT_FALSE(rig.boxTexts().isEmpty());
        EXPECT_EQ(rig.boxTexts().last(), msg::text(msg::kCheckDevice)) << "nothing after the loss";
        EXPECT_EQ(rig.prompter.boxes.back().title, msg::text(msg::kSystemTitle));
        EXPECT_EQ(rig.prompter.boxes.back().icon, BoxIcon::Critical);
        EXPECT_EQ(rig.bar.statusText, msg::text(c.status));
        EXPECT_TRUE(rig.bar.mnulianjiEnabled());
        EXPECT_FALSE(rig.engine.LinkUp());
        EXPECT_FALSE(rig.engine.DeviceReady);
        EXPECT_FALSE(rig.engine.deviceNotifyRegistered());
        EXPECT_TRUE(rig.engine.listening());
        EXPECT_FALSE(rig.engine.Timer1().Enabled() || rig.engine.Timer2().Enabled() ||
                     rig.engine.Timer3().Enabled());

        rig.prompter.boxes.clear();
        rig.connect();
        EXPECT_TRUE(rig.engine.LinkUp());
        EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kConnectDone)}));
        EXPECT_EQ(rig.bar.statusText, msg::text(msg::kStatusConnected));
    }
}
