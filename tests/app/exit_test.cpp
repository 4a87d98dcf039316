// Closing the window: the question, the exit frame, the port, and the ends that bypass them.

#include "app/form_helpers.h"
#include "controls/dc_button.h"
#include "core/messages.h"

#include <gtest/gtest.h>

using korvanex::BoxIcon;
using korvanex::msg::text;
using korvanex::testing::bytes;
using korvanex::testing::FormHarness;

namespace {

const QByteArray kExitFrame = bytes({0xA5, 0x67, 0x33, 0x31, 0x31, 0x30, 0x02, 0x01, 0x00});

long countOf(const std::vector<QByteArray>& writes, const QByteArray& frame) {
    return std::count(writes.begin(), writes.end(), frame);
}

bool sawBox(const FormHarness& h, const char* message) {
    return std::any_of(h.prompter.boxes.begin(), h.prompter.boxes.end(),
                       [&](const auto& box) { return box.text == text(message); });
}

} // namespace

// Faults: the wrong question text, title or buttons; closing without asking.
TEST(Exit, AsksTheExitQuestionTitledSystemPrompt) {
    FormHarness h;
    h.prompter.answers = {false};
    h.form->close();
    ASSERT_EQ(h.prompter.boxes.size(), 1u);
    const auto& box = h.prompter.boxes.front();
    EXPECT_TRUE(box.question);
    EXPECT_EQ(box.icon, BoxIcon::Question);
    EXPECT_EQ(box.text, QStringLiteral("你确定要退出系统吗?"));
    EXPECT_EQ(box.title, QStringLiteral("系统提示"));
}

// Faults: Cancel closing the port, stopping the probe, dropping the pending request or ending
// the program.
TEST(Exit, CancelLeavesLinkTimersAndPendingRequestUntouched) {
    FormHarness h;
    h.line->responder = nullptr; // the unit stays silent: the probe keeps running
    h.form->mnulianji()->click();
    h.run(50);
    auto& engine = h.form->engine();
    ASSERT_TRUE(engine.Timer1().Enabled());
    const int probes = engine.ProbeWaitCount;
    const auto writes = h.line->writes.size();

    h.prompter.answers = {false};
    EXPECT_FALSE(h.form->close());
    EXPECT_TRUE(h.line->PortOpen());
    EXPECT_TRUE(engine.Timer1().Enabled());
    EXPECT_EQ(engine.PendingStep, 1);
    EXPECT_EQ(engine.StepValue, 0x7F);
    EXPECT_EQ(engine.ProbeWaitCount, probes);
    EXPECT_EQ(h.line->writes.size(), writes);
    EXPECT_TRUE(h.quits.empty());
    h.run(20); // and the probe goes on
    EXPECT_EQ(engine.ProbeWaitCount, probes + 1);
}

// Faults: no exit frame while linked, a frame sent twice, the port closed before the frame is
// flushed, the device notification left registered, the program not ended.
TEST(Exit, OkWhileLinkedWritesExitFrameOnceFlushesThenCloses) {
    FormHarness h;
    h.connect();
    ASSERT_TRUE(h.form->engine().LinkUp());
    ASSERT_TRUE(h.form->engine().deviceNotifyRegistered());
    h.line->events.clear();
    h.line->writes.clear();

    EXPECT_TRUE(h.form->close());
    EXPECT_EQ(h.line->writes, std::vector<QByteArray>{kExitFrame});
    EXPECT_EQ(h.line->events, (QStringList{"write A5 67 33 31 31 30 02 01 00", "flush", "close"}));
    EXPECT_FALSE(h.line->PortOpen());
    EXPECT_FALSE(h.form->engine().deviceNotifyRegistered());
    EXPECT_EQ(h.quits, std::vector<int>{0});
    h.run(500); // nothing ticks on afterwards
    EXPECT_EQ(h.line->writes.size(), 1u);
}

// Fault: the exit frame sent only when the link is up (the open port alone decides).
TEST(Exit, OkWhileStillProbingSendsTheExitFrameToo) {
    FormHarness h;
    h.line->responder = nullptr;
    h.form->mnulianji()->click();
    h.run(45);
    EXPECT_TRUE(h.form->close());
    EXPECT_EQ(countOf(h.line->writes, kExitFrame), 1);
    EXPECT_EQ(h.line->writes.back(), kExitFrame);
    EXPECT_FALSE(h.line->PortOpen());
    const auto writes = h.line->writes.size();
    h.run(500);
    EXPECT_EQ(h.line->writes.size(), writes) << "a probe went out after the exit";
}

// Faults: writing into a closed port on exit; a close refused because there is no link.
TEST(Exit, OkWithPortClosedSendsNothingAndCloses) {
    FormHarness h;
    EXPECT_TRUE(h.form->close());
    EXPECT_TRUE(h.line->writes.empty());
    EXPECT_EQ(h.line->closes, 0);
    EXPECT_EQ(h.quits, std::vector<int>{0});
}

// Fault: a failed exit write (bridge gone) keeping the window open or the port open.
TEST(Exit, FailedExitWriteStillClosesPortAndProgram) {
    FormHarness h;
    h.connect();
    ASSERT_TRUE(h.form->engine().LinkUp());
    h.line->failWrites = true;
    EXPECT_TRUE(h.form->close());
    EXPECT_EQ(h.line->writes.back(), kExitFrame);
    EXPECT_FALSE(h.line->PortOpen());
    EXPECT_EQ(h.quits, std::vector<int>{0});
}

// Fault: the 70 ms window of a half-read reply running out after the exit and judging into
// the closed port ("通信发生异常!" at shut-down, or a write after close).
TEST(Exit, ExitDuringAReplyGatherJudgesNothingAfterwards) {
    FormHarness h;
    h.line->responder = nullptr;
    h.form->mnulianji()->click();
    h.run(25);
    h.line->arrive(bytes({0x52})); // the first half of the probe answer
    ASSERT_TRUE(h.form->engine().replyInProgress());
    EXPECT_TRUE(h.form->close());
    const auto writes = h.line->writes.size();
    h.run(300);
    EXPECT_FALSE(sawBox(h, korvanex::msg::kCommError));
    EXPECT_EQ(h.line->writes.size(), writes);
    EXPECT_EQ(h.prompter.boxes.size(), 1u); // the question only
}

// Faults: the settings failure asking the exit question, sending the exit frame, or ending
// with status 0; the window refusing to close afterwards.
TEST(Exit, SettingsFailureEndsWithoutQuestionOrFrame) {
    FormHarness h;
    h.line->openResult = korvanex::link::SerialLine::OpenResult::SettingsRefused;
    h.form->mnulianji()->click();
    ASSERT_TRUE(sawBox(h, korvanex::msg::kPortSetupFailed));
    ASSERT_EQ(h.quits.size(), 1u);
    EXPECT_NE(h.quits.front(), 0);
    const auto boxes = h.prompter.boxes.size();

    EXPECT_TRUE(h.form->close()); // the window goes as the program ends
    EXPECT_EQ(h.prompter.boxes.size(), boxes);
    EXPECT_EQ(countOf(h.line->writes, kExitFrame), 0);
    EXPECT_FALSE(h.line->PortOpen());
    EXPECT_EQ(h.quits.size(), 1u);
}
