#include "fuzz/targets/reply_judge_target.h"

#include "core/prompter.h"
#include "link/connect_bar.h"
#include "link/fake_clock.h"
#include "link/link_engine.h"

#include <cstdlib>

namespace {

using namespace korvanex;
using namespace korvanex::link;

// A serial line fed from the fuzz input; writes go nowhere.
class FuzzLine : public SerialLine {
public:
    bool setSettings(const QString& settings) override {
        settings_ = settings;
        return true;
    }
    QString Settings() const override { return settings_; }
    void setCommPort(const QString& portName) override { port_ = portName; }
    QString CommPort() const override { return port_; }
    OpenResult Open() override {
        open_ = true;
        return OpenResult::Opened;
    }
    void Close() override {
        open_ = false;
        inbox_.clear();
    }
    bool PortOpen() const override { return open_; }
    QString errorText() const override { return {}; }
    bool Output(const QByteArray& bytes) override {
        if (bytes.isEmpty()) {
            std::abort(); // the engine never writes nothing
        }
        return open_;
    }
    QByteArray Input() override {
        QByteArray bytes;
        bytes.swap(inbox_);
        return bytes;
    }
    int InBufferCount() const override { return static_cast<int>(inbox_.size()); }
    int OutBufferCount() const override { return 0; }
    void ClearInBuffer() override { inbox_.clear(); }
    void ClearOutBuffer() override {}
    void Flush() override {}

    void feed(const QByteArray& bytes) {
        if (!open_) {
            return;
        }
        inbox_ += bytes;
        if (OnComm) {
            OnComm();
        }
    }
    void unplug() {
        if (!open_) {
            return;
        }
        open_ = false;
        inbox_.clear();
        if (OnDeviceLost) {
            OnDeviceLost();
        }
    }

private:
    QString settings_;
    QString port_;
    QByteArray inbox_;
    bool open_ = false;
};

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
    FuzzLine line;
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
    engine.PendingStep = data[0] % 62;
    engine.RecallMode = (data[1] >> 1) % 14;
    engine.NextBlock = 1 + (data[1] >> 4) % 5;
    engine.EnableOwnerOf(engine.PendingStep);

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
                if (engine.LinkUp()) {
                    engine.PendingStep = 2 + action % 59;
                    engine.EnableOwnerOf(engine.PendingStep);
                }
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
        line.feed(
            QByteArray(reinterpret_cast<const char*>(data + pos), static_cast<qsizetype>(length)));
        pos += length;
        check(engine.ReplyWaitCount >= 0 && engine.ReplyWaitCount <= 20);
        check(engine.ProbeWaitCount >= 0 && engine.ProbeWaitCount <= 20);
        check(line.PortOpen() || (!engine.Timer1().Enabled() && !engine.Timer2().Enabled() &&
                                  !engine.Timer3().Enabled()));
    }
    clock.advance(2000); // let every sender and window run out
    check(!engine.replyInProgress());
    check(engine.ReplyWaitCount <= 20);
    return 0;
}
