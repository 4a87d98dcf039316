// Wire time: a frame takes 260.4 us a byte to leave; nothing is written while the last one can
// still be on the wire, and a request is awaited until 70 ms after its last byte. The whole set
// (220 bytes, 57.3 ms) outlasts the second sender's 50 ms beat; the short frames never do.

#include "core/messages.h"
#include "link/full_state_frame.h"
#include "link/request_frames.h"
#include "link_test_helpers.h"

#include <gtest/gtest.h>

#include <optional>

using namespace korvanex;
using namespace korvanex::link;
using namespace korvanex::link::testing;

namespace {

const QByteArray kWholeSet = fullStateFrame(PageValues{});
const QByteArray kBand = bandFrame(0x07, 1, {0.0f, 1.0f, 100.0f});
const QByteArray kSlider = hex("A5 67 33 31 31 30 04 05 02 00 07");
const QByteArray kWholeSetAck = hex("35 82 13 00");

QByteArray frameOf(int step) {
    switch (step) {
    case 53:
        return kWholeSet;
    case 26:
        return kSlider;
    default:
        return kBand;
    }
}

// A linked rig past the last block's window, with the frames above as the pages' frames.
struct WireRig : Rig {
    WireRig() {
        connect();
        clock.advance(100);
        prompter.boxes.clear();
        engine.setFrameSource([](int step) { return std::optional<QByteArray>(frameOf(step)); });
    }
    // The request as the file load stores it, run to its first write; returns when that was.
    std::int64_t storeAndWrite(int step) {
        engine.store({.test = StoreTest::LinkUpAndReady, .step = step, .DeviceReady = false});
        EXPECT_EQ(nextWrite(), frameOf(step));
        return clock.now();
    }
    std::vector<std::int64_t> writeTimesSince(std::size_t from, std::int64_t origin) const {
        std::vector<std::int64_t> at;
        for (std::size_t i = from; i < line.writes.size(); ++i) {
            at.push_back(line.writes[i].at - origin);
        }
        return at;
    }
};

} // namespace

// Catches a dropped step (an operand naming no control, or no frame source at all) that still
// writes, counts towards the give-up, or leaves its sender running.
TEST(LinkWireTime, DroppedStepNeitherWritesNorCounts) {
    for (const int step : {2, 34, 53}) {
        for (const bool withSource : {true, false}) {
            SCOPED_TRACE(::testing::Message()
                         << "step " << step << (withSource ? "" : ", no source"));
            WireRig rig;
            if (withSource) {
                rig.engine.setFrameSource([](int) { return std::optional<QByteArray>(); });
            } else {
                rig.engine.setFrameSource({});
            }
            const std::size_t from = rig.line.writes.size();
            rig.engine.store(request(step));
            rig.clock.advance(1500);
            EXPECT_EQ(rig.line.writes.size(), from);
            EXPECT_EQ(rig.engine.ReplyWaitCount, 0);
            EXPECT_FALSE(rig.engine.Timer2().Enabled());
            EXPECT_FALSE(rig.engine.Timer3().Enabled());
            EXPECT_TRUE(rig.prompter.boxes.empty());
        }
    }
}

// Catches a second copy of the whole set written inside its window (cut by the buffer clear,
// or answered late against the next request, twice "数据导入完成!"), an awaited tick that does
// not count, and a window held longer than the frame's wire time and 70 ms (128 ms).
TEST(LinkWireTime, WholeSetIsWrittenAgainOnlyAfterItsWindow) {
    struct Case {
        std::int64_t ackAt;
        std::vector<std::int64_t> writes; // after T
    };
    for (const Case& c : {Case{98, {0}}, Case{127, {0}}, Case{160, {0, 150}}}) {
        SCOPED_TRACE(c.ackAt);
        WireRig rig;
        const std::size_t from = rig.line.writes.size();
        const std::int64_t t = rig.storeAndWrite(53);
        rig.clock.advance(55);
        EXPECT_EQ(rig.line.writes.size(), from + 1);
        EXPECT_EQ(rig.engine.ReplyWaitCount, 2) << "the awaited tick counts";
        rig.clock.advance(c.ackAt - 55);
        rig.line.feed(kWholeSetAck);
        rig.clock.advance(30);
        rig.line.feed(kWholeSetAck); // the unit's answer to a second copy, if there was one
        rig.clock.advance(300);
        EXPECT_EQ(rig.writeTimesSince(from, t), c.writes);
        EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kImportDone)}));
        EXPECT_FALSE(rig.engine.Timer3().Enabled());
        EXPECT_TRUE(rig.engine.DeviceReady);
    }
}

// Catches a give-up that comes after a count of writes instead of ticks, and a request
// written again inside its window (wire time and 70 ms: 128 ms for the whole set, 74 ms for a
// band): a silent unit gets 7, 11 and 6 copies within the same 21 ticks.
TEST(LinkWireTime, GiveUpAtTheTwentyFirstTick) {
    struct Case {
        int step;
        std::int64_t beat;
        std::size_t writes;
    };
    for (const Case c : {Case{53, 50, 7}, Case{34, 50, 11}, Case{2, 20, 6}}) {
        SCOPED_TRACE(c.step);
        WireRig rig;
        const std::size_t from = rig.line.writes.size();
        const std::int64_t t = rig.storeAndWrite(c.step);
        std::int64_t boxAt = -1;
        std::size_t writesAtBox = 0;
        rig.prompter.onBox = [&](const RecordingPrompter::Box&) {
            boxAt = rig.clock.now() - t;
            writesAtBox = rig.line.writes.size() - from;
        };
        rig.clock.advance(3000);
        EXPECT_EQ(boxAt, 20 * c.beat);
        EXPECT_EQ(writesAtBox, c.writes);
        EXPECT_EQ(rig.line.writes.size() - from, c.writes);
        EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kNoReply)}));
        EXPECT_EQ(rig.engine.ReplyWaitCount, 0);
    }
}

// Catches an edit that replaces an unanswered whole set (the unit never gets the loaded file,
// DeviceReady stays cleared) or cuts in before its answer: the edit follows the download.
TEST(LinkWireTime, EditDuringTheWholeSetFollowsIt) {
    struct Case {
        int step;
        QByteArray frame;
        std::int64_t ackAt; // after T
    };
    for (const Case& c : {Case{26, kSlider, 60}, Case{40, kBand, 140}}) {
        SCOPED_TRACE(c.step);
        WireRig rig;
        const std::size_t from = rig.line.writes.size();
        rig.storeAndWrite(53);
        rig.clock.advance(10);
        EXPECT_TRUE(rig.engine.store(request(c.step)));
        rig.clock.advance(c.ackAt - 10);
        EXPECT_EQ(rig.engine.PendingStep, 53) << "put off";
        rig.line.feed(kWholeSetAck);
        EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kImportDone)}));
        EXPECT_TRUE(rig.engine.DeviceReady);
        EXPECT_EQ(rig.nextWrite(), c.frame);
        EXPECT_EQ(rig.writtenSince(from), (std::vector<QByteArray>{kWholeSet, c.frame}));
    }
}

// Catches a wrong time a byte (10 bits at 38400 baud, 260.4 us): frames whose window ends
// just before or just after the sender's next tick, and, after a stray answer has ended the
// window early, frames that end just before or after it.
TEST(LinkWireTime, BusyForExactlyTheFrameTime) {
    struct Case {
        int step;
        int bytes;
        bool strayAnswer;       // a probe answer 1 ms after the write
        std::int64_t nextWrite; // after T
    };
    const Case cases[] = {{2, 34, false, 80},    {2, 39, false, 100}, {40, 111, false, 100},
                          {40, 116, false, 150}, {2, 76, true, 20},   {2, 77, true, 40},
                          {40, 191, true, 50},   {40, 193, true, 100}};
    for (const Case c : cases) {
        SCOPED_TRACE(c.bytes);
        WireRig rig;
        rig.engine.setFrameSource(
            [&](int) { return std::optional<QByteArray>(QByteArray(c.bytes, 'x')); });
        rig.engine.store(request(c.step));
        rig.nextWrite();
        const std::int64_t t = rig.clock.now();
        if (c.strayAnswer) {
            rig.clock.advance(1);
            rig.line.feed(hex("52 3A"));
        }
        rig.nextWrite();
        EXPECT_EQ(rig.clock.now() - t, c.nextWrite);
    }
}
