#include "core/prompter.h"

#include <gtest/gtest.h>

using namespace korvanex;

TEST(RecordingPrompter, RecordsBoxesAndAnswersFromItsQueue) {
    RecordingPrompter prompter;
    prompter.answers = {false};
    int seen = 0;
    prompter.onBox = [&](const RecordingPrompter::Box&) { ++seen; };
    prompter.show("a", "t", BoxIcon::Critical);
    EXPECT_FALSE(prompter.askOkCancel("q", "t"));
    EXPECT_TRUE(prompter.askOkCancel("q", "t")); // empty queue answers OK
    ASSERT_EQ(prompter.boxes.size(), 3u);
    EXPECT_EQ(prompter.boxes[0].icon, BoxIcon::Critical);
    EXPECT_TRUE(prompter.boxes[1].question);
    EXPECT_EQ(seen, 3);
}
