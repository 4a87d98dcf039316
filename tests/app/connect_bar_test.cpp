// The connect bar as the user sees it through a whole connection and disconnection.

#include "app/form_helpers.h"
#include "controls/dc_button.h"
#include "core/messages.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using korvanex::testing::bytes;
using korvanex::testing::FormHarness;

namespace {
constexpr std::uint32_t kGreen = 0x00FF00; // 0x00BBGGRR
constexpr std::uint32_t kRed = 0x0000FF;

QColor shownColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}
} // namespace

// Faults: "断开" usable before any link; wrong captions; a status label that a screen reader
// announces by another name than its text.
TEST(ConnectBar, StartState) {
    FormHarness h;
    auto& form = *h.form;
    EXPECT_EQ(form.mnulianji()->text(), QStringLiteral("连接"));
    EXPECT_EQ(form.mnutuoji()->text(), QStringLiteral("断开"));
    EXPECT_TRUE(form.mnulianji()->isEnabled());
    EXPECT_FALSE(form.mnutuoji()->isEnabled());
    EXPECT_EQ(form.Label6()->text(), QStringLiteral("未连接"));
    EXPECT_TRUE(form.Label6()->accessibleName().isEmpty());
    EXPECT_FALSE(form.engine().LinkUp());
    EXPECT_TRUE(h.line->events.isEmpty()) << "the port is opened only by the connect button";
}

// Faults: the window's buttons not reaching the link; the link-up test reading a stale flag
// instead of the button; green/red swapped (colours are 0x00BBGGRR).
TEST(ConnectBar, ConnectThenDisconnectThroughTheButtons) {
    FormHarness h;
    auto& form = *h.form;
    QTest::mouseClick(form.mnulianji(), Qt::LeftButton);
    EXPECT_TRUE(h.line->PortOpen());
    h.run(19);
    EXPECT_TRUE(h.line->writes.empty()) << "the first probe goes out one interval later";
    h.run(1);
    ASSERT_FALSE(h.line->writes.empty());
    EXPECT_EQ(h.line->writes.front(), bytes({0x3F}));
    for (int i = 0; i < 2000 && !form.engine().LinkUp(); ++i) {
        h.run(1);
    }
    ASSERT_TRUE(form.engine().LinkUp());
    EXPECT_FALSE(form.mnulianji()->isEnabled());
    EXPECT_TRUE(form.mnutuoji()->isEnabled());
    EXPECT_EQ(form.Label6()->text(), QStringLiteral("已连接"));
    EXPECT_EQ(form.Label6ForeColor(), kGreen);
    EXPECT_EQ(shownColour(form.Label6()), QColor(0, 255, 0));
    EXPECT_EQ(h.prompter.boxes.back().text, QString::fromUtf8(korvanex::msg::kConnectDone));

    QTest::mouseClick(form.mnutuoji(), Qt::LeftButton);
    for (int i = 0; i < 1000 && h.line->PortOpen(); ++i) {
        h.run(1);
    }
    EXPECT_FALSE(h.line->PortOpen());
    EXPECT_TRUE(form.mnulianji()->isEnabled());
    EXPECT_TRUE(form.mnutuoji()->isEnabled()); // stays enabled after a disconnection
    EXPECT_EQ(form.Label6()->text(), QStringLiteral("已断开"));
    EXPECT_EQ(form.Label6ForeColor(), kRed);
    EXPECT_EQ(shownColour(form.Label6()), QColor(255, 0, 0));
    EXPECT_FALSE(form.engine().LinkUp());
}

// Fault: the link-up test reading the button's effective state (which a disabled window, as
// under a modal box, turns off) instead of the button's own flag: a port still probing would
// count as linked.
TEST(ConnectBar, LinkUpReadsTheConnectButtonOwnFlag) {
    FormHarness h;
    h.line->responder = nullptr;
    h.form->mnulianji()->click();
    ASSERT_TRUE(h.line->PortOpen());
    h.form->setEnabled(false);
    EXPECT_FALSE(h.form->engine().LinkUp());
    h.form->setMnulianjiEnabled(false);
    EXPECT_TRUE(h.form->engine().LinkUp());
    h.form->setEnabled(true);
    EXPECT_TRUE(h.form->engine().LinkUp());
}
