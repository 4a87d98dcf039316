// A unit that answers a request later than one sender tick: the request is not written again
// while its answer may still come, and where a copy did go out, the window of the first answer
// swallows the others.

#include "core/messages.h"
#include "link/frames.h"
#include "link/step_table.h"
#include "link_test_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

using namespace korvanex;
using namespace korvanex::link;
using namespace korvanex::link::testing;

namespace {

// Answers every probe, link command and block read `latencyMs` after it was written, all
// bytes at once, on the rig's fake clock.
class SlowUnit {
public:
    SlowUnit(Rig& rig, int latencyMs)
        : rig_(rig), latency_(latencyMs), beat_(rig.clock.makeTimer()) {
        beat_->setInterval(1);
        beat_->onTick = [this] { step(); };
        beat_->setEnabled(true);
    }

private:
    static QByteArray answer(const QByteArray& request) {
        if (request == hex("3F")) {
            return hex("52 3A");
        }
        if (request.size() == 9) {
            return hex("35 82 01") + request.right(1);
        }
        if (request.size() == 12) {
            const int block = request.at(10);
            return blockReply(block, blockSize(block));
        }
        return {};
    }
    void step() {
        for (; seen_ < rig_.line.writes.size(); ++seen_) {
            const auto& w = rig_.line.writes[seen_];
            due_.push_back({w.at + latency_, answer(w.bytes)});
        }
        while (!due_.empty() && due_.front().first <= rig_.clock.now()) {
            const QByteArray bytes = due_.front().second;
            due_.pop_front();
            rig_.line.feed(bytes);
        }
    }

    Rig& rig_;
    int latency_;
    std::unique_ptr<LinkTimer> beat_;
    std::size_t seen_ = 0;
    std::deque<std::pair<std::int64_t, QByteArray>> due_;
};

} // namespace

// Catches a request written again inside its window (70 ms after its last byte), whose
// answer would be judged against the next request: a communication error on every
// connection. Only the probe, which is not awaited, goes out every 20 ms until answered.
TEST(LinkReplyWindow, UnitsSlowerThanOneTickConnect) {
    for (const int latencyMs : {2, 19, 20, 35, 60}) {
        SCOPED_TRACE(latencyMs);
        Rig rig;
        SlowUnit unit(rig, latencyMs);
        rig.engine.mnulianji_Click();
        for (int ms = 0; ms < 3000 && !rig.engine.LinkUp(); ++ms) {
            rig.clock.advance(1);
        }
        EXPECT_TRUE(rig.engine.LinkUp());
        EXPECT_EQ(rig.boxTexts(), QStringList({msg::text(msg::kConnectDone)}));
        const auto requests = std::count_if(rig.line.writes.begin(), rig.line.writes.end(),
                                            [](const auto& w) { return w.bytes != hex("3F"); });
        EXPECT_EQ(requests, 6) << "the link command and five block reads, once each";
    }
}

// Catches the window of a repeated request closed early (a tick writing or counting in it, or
// its bytes judged), and one held although the request went out once.
TEST(LinkReplyWindow, RepeatedRequestHoldsEveryTimerUntilTheWindowEnds) {
    struct Case {
        const char* name;
        int copies;
        std::function<void(Rig&)> next;            // what follows the acknowledgement
        std::int64_t firstWriteFrom, firstWriteTo; // after the answer's first byte, in ms
    };
    const auto storeStep = [](int step) {
        return [step](Rig& rig) { rig.engine.store(request(step)); };
    };
    const auto disconnect = [](Rig& rig) { rig.engine.mnutuoji_Click(); };
    const Case cases[] = {
        {"Timer2, sent once", 1, storeStep(26), 1, 20},
        {"Timer3, sent once", 1, storeStep(40), 1, 50},
        {"Timer1, sent once", 1, disconnect, 1, 20},
        {"Timer2, sent twice", 2, storeStep(26), 70, 90},
        {"Timer3, sent twice", 2, storeStep(40), 70, 120},
        {"Timer1, sent twice", 2, disconnect, 70, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.connect();
        rig.clock.advance(100);
        rig.prompter.boxes.clear();
        rig.engine.setFrameSource([](int step) { return QByteArray(1, static_cast<char>(step)); });
        rig.engine.store(request(25));
        for (int i = 0; i < c.copies; ++i) {
            rig.nextWrite();
        }
        rig.clock.advance(3);
        const std::int64_t firstByte = rig.clock.now();
        rig.line.feed(hex("35 82 05 01"));
        c.next(rig);
        if (c.copies > 1) {
            rig.clock.advance(30);
            rig.line.feed(hex("EE EE EE EE")); // the answer to a copy: dropped
        }
        const std::size_t before = rig.line.writes.size();
        ASSERT_FALSE(rig.nextWrite(200).isEmpty());
        const std::int64_t at = rig.line.writes.back().at - firstByte;
        EXPECT_GE(at, c.firstWriteFrom);
        EXPECT_LE(at, c.firstWriteTo);
        EXPECT_EQ(rig.line.writes.size(), before + 1);
        EXPECT_EQ(rig.engine.ReplyWaitCount + rig.engine.ProbeWaitCount, 1)
            << "one count for the one write";
        EXPECT_TRUE(rig.prompter.boxes.empty());
    }
}

// Catches copies counted across a closed port: the first answer on a reopened port would be
// held although its request went out once.
TEST(LinkReplyWindow, ReopenedPortCountsAfresh) {
    Rig rig;
    rig.engine.mnulianji_Click();
    rig.clock.advance(3 * 20);
    rig.line.unplug();
    rig.engine.mnulianji_Click();
    rig.nextWrite();
    rig.line.feed(hex("52 3A"));
    const std::int64_t answered = rig.clock.now();
    EXPECT_EQ(rig.nextWrite(), hex("A5 67 33 31 31 30 02 01 7F"));
    EXPECT_LE(rig.line.writes.back().at - answered, 20);
}
