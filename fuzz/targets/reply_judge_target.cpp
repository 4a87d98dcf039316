#include "fuzz/targets/reply_judge_target.h"

#include "core/prompter.h"
#include "link/connect_bar.h"
#include "link/fake_clock.h"
#include "link/link_engine.h"
#include "link/memory_line.h"

#include <cstdlib>

namespace {

using namespace korvanex;
using namespace korvanex::link;

void check(bool promise) {
    if (!promise) {
        std::abort();
    }
}

} // namespace

// Layout of the input: byte 0 picks the pending step, byte 1 the start state (connecting or
// linked, recall mode). Then records: a control byte (low 5 bits: chunk length; bit 5: run
// the clock by the next byte's milliseconds first; bit 6: a user action chosen by the next
// byte; bit 7: the device vanishes), followed by the chunk's bytes.
int fuzzReplyJudge(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    FakeClock clock;
    MemoryLine line;
    MemoryConnectBar bar;
    RecordingPrompter prompter;
    LinkEngine engine(line, bar, prompter, clock.factory(), [] { return QStringLiteral("fz0"); });
    engine.setFrameSource([](int step) { return QByteArray(1, static_cast<char>(step)); });
    prompter.onBox = [&](const RecordingPrompter::Box&) {
        // Keep the record small on long runs.
        if (prompter.boxes.size() > 64) {
            prompter.boxes.clear();
        }
    };

    engine.mnulianji_Click();
    if (data[1] & 1) {
        bar.setMnulianjiEnabled(false); // as if the five blocks had been read
        bar.setMnutuojiEnabled(true);
    }
    engine.store({.test = StoreTest::Always,
                  .step = data[0] % 62,
                  .RecallMode = (data[1] >> 1) % 14,
                  .NextBlock = 1 + (data[1] >> 4) % 5});

    std::size_t pos = 2;
    while (pos < size) {
        const std::uint8_t control = data[pos++];
        if ((control & 0x20) && pos < size) {
            clock.advance(data[pos++]);
        }
        if ((control & 0x40) && pos < size) {
            const std::uint8_t action = data[pos++];
            switch (action % 6) {
            case 0:
                engine.mnulianji_Click();
                break;
            case 1:
                engine.mnutuoji_Click();
                break;
            case 2:
                engine.store({.test = static_cast<StoreTest>(action / 6 % 3),
                              .step = 2 + action % 59,
                              .DeviceReady = action >= 128});
                break;
            case 3:
                engine.MSComm1_OnComm(); // an event with nothing to read
                break;
            case 4:
                engine.StepValue = action;
                break;
            default:
                clock.advance(70);
                break;
            }
        }
        if (control & 0x80) {
            line.unplug();
        }
        const std::size_t length = std::min<std::size_t>(control & 0x1F, size - pos);
        line.receive(
            QByteArray(reinterpret_cast<const char*>(data + pos), static_cast<qsizetype>(length)));
        pos += length;
        check(engine.ReplyWaitCount >= 0 && engine.ReplyWaitCount <= 20);
        check(engine.ProbeWaitCount >= 0 && engine.ProbeWaitCount <= 20);
        check(line.PortOpen() || (!engine.Timer1().Enabled() && !engine.Timer2().Enabled() &&
                                  !engine.Timer3().Enabled()));
    }
    clock.advance(2000); // let every sender and window run out
    check(!engine.replyInProgress());
    for (const QByteArray& frame : line.writes) {
        check(!frame.isEmpty()); // the engine never writes nothing
    }
    check(engine.ReplyWaitCount <= 20);
    return 0;
}
