// Nothing a page handler does while a connection is being made (port open, link not yet up)
// disturbs the connection: its link command and block reads go out as they stood.
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"
#include "core/messages.h"
#include "eqcurve/eq_line.h"
#include "pages/block_fixture.h"
#include "pages/block_samples.h"

#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::block_samples;

namespace {

void move(ctSlide* s, int value) {
    s->slider()->setValue(value);
}

QByteArray frameHex(const char* body) {
    return QByteArray("A56733313130") + body;
}

} // namespace

// Catches the faults mended for a connection in progress (port open, link not up): a volume
// move storing its step (the link command or block read would give way to a volume frame and
// the connection stall), a bypass or feedback click storing its value ahead of the link test
// (the link command would go out as 02 01 FF or 02 01 00); the bypass display must still
// toggle and DeviceReady end true, and the connection must still complete.
TEST(HandlerMends, NothingStoredDuringAConnection) {
    LinkedPages f;
    PageSet& p = *f.pages;
    const auto disturb = [&] {
        move(p.ctSlide1[0], 50);
        move(p.ctSlide14, 40);
        move(p.ctSlide6[3], 1);
        QTest::keyClick(p.Text1[2], Qt::Key_Return);
        p.dcButton19[3]->click();
        p.Option2->button(2)->click();
    };
    // Its graph's band echoes store StepIndex, as every band echo does; neither the link
    // command nor the block read reads it.
    const auto bypass = [&] { QTest::mouseClick(p.dcButton22, Qt::LeftButton); };
    f.engine->mnulianji_Click();
    f.clock.advance(20); // probe
    f.line.receive(QByteArray::fromHex("523A"));
    ASSERT_EQ(f.engine->PendingStep, 1);
    const int value = f.engine->StepValue;
    const int index = f.engine->StepIndex;
    disturb();
    EXPECT_EQ(f.engine->StepIndex, index);
    bypass();
    EXPECT_TRUE(p.EQline3->EQ_BYPASS()) << "the bypass display still toggles";
    EXPECT_TRUE(f.engine->DeviceReady);
    EXPECT_EQ(f.engine->PendingStep, 1);
    EXPECT_EQ(f.engine->StepValue, value);
    f.line.writes.clear();
    f.clock.advance(20);
    ASSERT_EQ(f.line.writes.size(), 1u);
    EXPECT_EQ(f.line.writes[0].toHex().toUpper(), frameHex("02017F"));

    f.line.receive(QByteArray::fromHex("3582017F"));
    ASSERT_EQ(f.engine->PendingStep, 52);
    disturb();
    bypass();
    EXPECT_FALSE(p.EQline3->EQ_BYPASS());
    EXPECT_EQ(f.engine->PendingStep, 52);
    f.line.writes.clear();
    f.clock.advance(20);
    ASSERT_EQ(f.line.writes.size(), 1u);
    EXPECT_EQ(f.line.writes[0].toHex().toUpper(), frameHex("050000100108"));

    const std::vector<int> blocks[5] = {musicBytes(), micABytes(), effectBytes(), micBBytes(),
                                        systemBytes()};
    for (int n = 1; n <= 5; ++n) {
        if (n > 1) {
            f.clock.advance(20);
        }
        QByteArray reply;
        reply.append(char(0x10));
        reply.append(char(n));
        for (int b : blocks[n - 1]) {
            reply.append(char(b));
        }
        f.line.receive(reply);
    }
    f.clock.advance(100);
    EXPECT_EQ(f.prompter.boxes.back().text, msg::text(msg::kConnectDone));
    EXPECT_TRUE(f.engine->LinkUp());
}
