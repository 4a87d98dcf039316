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
