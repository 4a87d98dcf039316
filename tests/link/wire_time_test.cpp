// Wire time: a frame takes 260.4 us a byte to leave, and nothing is written while the last one
// can still be on the wire. The whole set (220 bytes, 57.3 ms) outlasts the second sender's
// 50 ms beat; the short frames never do.

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

// Catches a second copy of the whole set written behind the first (cut by the buffer clear,
// or answered late against the next request), a busy tick that does not count, and a wire
// held longer than the frame takes (no second copy at T + 100).
TEST(LinkWireTime, WholeSetIsNotWrittenAgainWhileOnTheWire) {
    struct Case {
        std::int64_t ackAt;
        std::vector<std::int64_t> writes; // after T
    };
    for (const Case& c : {Case{98, {0}}, Case{101, {0, 100}}}) {
        SCOPED_TRACE(c.ackAt);
        WireRig rig;
        const std::size_t from = rig.line.writes.size();
        const std::int64_t t = rig.storeAndWrite(53);
        rig.clock.advance(55);
        EXPECT_EQ(rig.line.writes.size(), from + 1) << "wire busy until T + 57.3";
        EXPECT_EQ(rig.engine.ReplyWaitCount, 2) << "the busy tick counts";
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

// Catches a give-up that comes after a count of writes instead of ticks (the whole set would
// take two seconds), and short frames thinned out by a wire held too long.
TEST(LinkWireTime, GiveUpAtTheTwentyFirstTick) {
    struct Case {
        int step;
        std::int64_t beat;
        std::size_t writes;
    };
    for (const Case c : {Case{53, 50, 11}, Case{34, 50, 21}, Case{2, 20, 21}}) {
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

// Catches what replaces an unanswered whole set cutting in while it is still on the wire, and
// a replacement that restarts the count.
TEST(LinkWireTime, ChangeReplacesAnUnansweredWholeSetOnceTheWireIsFree) {
    struct Case {
        int step;
        QByteArray frame;
        std::int64_t at; // after T: the first free tick of the step's sender
        int count;       // ReplyWaitCount after it
    };
    for (const Case& c : {Case{26, kSlider, 70, 4}, Case{40, kBand, 100, 3}}) {
        SCOPED_TRACE(c.step);
        WireRig rig;
        const std::size_t from = rig.line.writes.size();
        const std::int64_t t = rig.storeAndWrite(53);
        rig.clock.advance(10);
        rig.engine.store(request(c.step));
        EXPECT_EQ(rig.nextWrite(), c.frame);
        EXPECT_EQ(rig.writeTimesSince(from, t), (std::vector<std::int64_t>{0, c.at}));
        EXPECT_EQ(rig.engine.ReplyWaitCount, c.count);
    }
}

// Catches a wrong time a byte (10 bits at 38400 baud, 260.4 us): frames that end just before
// or just after the sender's next tick, 20 ms for the first sender and 50 ms for the second.
TEST(LinkWireTime, BusyForExactlyTheFrameTime) {
    struct Case {
        int step;
        int bytes;
        std::int64_t nextWrite; // after T
    };
    for (const Case c : {Case{2, 76, 20}, Case{2, 77, 40}, Case{40, 191, 50}, Case{40, 193, 100}}) {
        SCOPED_TRACE(c.bytes);
        WireRig rig;
        rig.engine.setFrameSource(
            [&](int) { return std::optional<QByteArray>(QByteArray(c.bytes, 'x')); });
        rig.engine.store(request(c.step));
        rig.nextWrite();
        const std::int64_t t = rig.clock.now();
        rig.nextWrite();
        EXPECT_EQ(rig.clock.now() - t, c.nextWrite);
    }
}
