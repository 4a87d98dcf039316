// The whole main window, clicked as a user clicks it, against the simulated unit at line rate.
#include "link_rig.h"

#include "app/form1.h"
#include "controls/dc_button.h"
#include "core/messages.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::testing;

namespace {

struct WindowRig {
    WindowRig() {
        unit.setLine({sim::PtyUnit::kLineRateUsPerByte, 2});
        Form1::Options options;
        options.finder = [this] { return unit.portPath(); };
        options.prompter = &prompter;
        options.quit = [this](int code) { quitCode = code; };
        window = std::make_unique<Form1>(std::move(options));
        window->show();
    }
    int boxes(const char* utf8) const {
        int n = 0;
        for (const auto& box : prompter.boxes) {
            n += box.text == text(utf8) ? 1 : 0;
        }
        return n;
    }

    sim::PtyUnit unit;
    RecordingPrompter prompter;
    int quitCode = -1;
    std::unique_ptr<Form1> window;
};

} // namespace

// Catches: a window whose connect button, serial control, engine and appliers do not come
// together into a connection, or whose status label does not show it.
TEST(WindowOverPty, ClickConnectThenDisconnect) {
    WindowRig rig;
    EXPECT_EQ(rig.window->Label6()->text(), text(msg::kStatusIdle));
    QTest::mouseClick(rig.window->mnulianji(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] {
        return rig.window->Label6()->text() == text(msg::kStatusConnected);
    })) << "no connection from the window";
    EXPECT_EQ(rig.window->Label6ForeColor(), link::kStatusGreen);
    EXPECT_FALSE(rig.window->mnulianji()->isEnabled());
    EXPECT_TRUE(rig.window->mnutuoji()->isEnabled());
    EXPECT_EQ(rig.boxes(msg::kConnectDone), 1);
    EXPECT_EQ(rig.boxes(msg::kCommError), 0);
    EXPECT_EQ(rig.unit.peer().badFrames(), 0);

    QTest::mouseClick(rig.window->mnutuoji(), Qt::LeftButton);
    ASSERT_TRUE(
        waitUntil([&] { return rig.window->Label6()->text() == text(msg::kStatusDisconnected); }));
    EXPECT_EQ(rig.window->Label6ForeColor(), link::kStatusRed);
    EXPECT_TRUE(rig.window->mnulianji()->isEnabled());
    EXPECT_FALSE(rig.unit.peer().model().linked());
}

// Catches: the link going on after the unit was unplugged while the equaliser mode box of the
// fifth block was open: "设备连接完成!", "已连接" and a disabled "连接" on a closed port, so
// that only a restart helped. Before the first completed connection the status stays "未连接".
TEST(WindowOverPty, UnplugUnderTheEqualiserModeBox) {
    for (const bool later : {false, true}) {
        SCOPED_TRACE(later ? "a later connection" : "the first connection");
        WindowRig rig;
        QLabel* status = rig.window->Label6();
        if (later) {
            QTest::mouseClick(rig.window->mnulianji(), Qt::LeftButton);
            ASSERT_TRUE(waitUntil([&] { return status->text() == text(msg::kStatusConnected); }));
            QTest::mouseClick(rig.window->mnutuoji(), Qt::LeftButton);
            ASSERT_TRUE(
                waitUntil([&] { return status->text() == text(msg::kStatusDisconnected); }));
        }
        const link::SerialLine& line = rig.window->engine().MSComm1();
        bool unplugged = false;
        rig.prompter.onBox = [&](const RecordingPrompter::Box& box) {
            if (unplugged || (box.text != text(msg::kEqModeParametric) &&
                              box.text != text(msg::kEqModeGraphic))) {
                return;
            }
            unplugged = true;
            rig.unit.unplug();
            // A real box runs the event loop while it is open: the loss is handled under it.
            EXPECT_TRUE(waitUntil([&] { return !line.PortOpen(); }));
        };
        QTest::mouseClick(rig.window->mnulianji(), Qt::LeftButton);
        ASSERT_TRUE(waitUntil([&] { return unplugged && rig.boxes(msg::kCheckDevice) == 1; }));
        QTest::qWait(50);
        EXPECT_EQ(rig.boxes(msg::kConnectDone), later ? 1 : 0) << "no completion after the loss";
        EXPECT_EQ(status->text(), text(later ? msg::kStatusDisconnected : msg::kStatusIdle));
        EXPECT_TRUE(rig.window->mnulianji()->isEnabled());
        EXPECT_FALSE(rig.window->engine().LinkUp());
        EXPECT_FALSE(rig.window->engine().DeviceReady);

        rig.prompter.onBox = nullptr;
        ASSERT_TRUE(rig.unit.plugIn());
        QTest::mouseClick(rig.window->mnulianji(), Qt::LeftButton);
        ASSERT_TRUE(waitUntil([&] { return status->text() == text(msg::kStatusConnected); }))
            << "connecting again without a restart";
        EXPECT_FALSE(rig.window->mnulianji()->isEnabled());
        EXPECT_EQ(rig.boxes(msg::kConnectDone), later ? 2 : 1);
    }
}
