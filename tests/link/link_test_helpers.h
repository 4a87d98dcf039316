#pragma once
// A headless link: the engine on a fake clock, a scripted serial line, a remembering connect
// bar and a recording prompter.

#include "core/prompter.h"
#include "link/connect_bar.h"
#include "link/fake_clock.h"
#include "link/link_engine.h"
#include "link/serial_line.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace korvanex::link::testing {

QByteArray hex(const char* spaced); // "A5 67 33" -> bytes

class ScriptedLine : public SerialLine {
public:
    explicit ScriptedLine(const FakeClock& clock) : clock_(clock) {}

    struct Write {
        std::int64_t at;
        QByteArray bytes;
    };

    bool setSettings(const QString& settings) override;
    QString Settings() const override { return settings_; }
    void setCommPort(const QString& portName) override;
    QString CommPort() const override { return port_; }
    OpenResult Open() override;
    void Close() override;
    bool PortOpen() const override { return open_; }
    QString errorText() const override { return QStringLiteral("scripted"); }
    bool Output(const QByteArray& bytes) override;
    QByteArray Input() override;
    int InBufferCount() const override { return static_cast<int>(inbox_.size()); }
    int OutBufferCount() const override { return 0; }
    void ClearInBuffer() override;
    void ClearOutBuffer() override;
    void Flush() override;

    // Bytes from the unit: queued and announced by a receive event.
    void feed(const QByteArray& bytes);
    // The unit vanishes: the port closes and the loss is reported.
    void unplug();

    OpenResult nextOpen = OpenResult::Opened;
    bool failWrites = false;
    std::vector<Write> writes;
    // "setSettings ...", "setCommPort ...", "open", "close", "write", "flush", "clear in",
    // "clear out", in order.
    QStringList log;
    int inClears = 0;
    int outClears = 0;
    int flushes = 0;
    int opens = 0;

private:
    const FakeClock& clock_;
    QString settings_;
    QString port_;
    QByteArray inbox_;
    bool open_ = false;
};

class RecordingAppliers : public BlockAppliers {
public:
    void Music_Data() override { call(QStringLiteral("Music_Data")); }
    void Mic_Data() override { call(QStringLiteral("Mic_Data")); }
    void EFF_Data() override { call(QStringLiteral("EFF_Data")); }
    void MicB_Data() override { call(QStringLiteral("MicB_Data")); }
    void set_Data() override { call(QStringLiteral("set_Data")); }
    QStringList calls;
    // Runs inside each applier, as the pages' own work (and boxes) would.
    std::function<void(const QString& applier)> during;

private:
    void call(const QString& name) {
        calls << name;
        if (during) {
            during(name);
        }
    }
};

struct Rig {
    Rig();

    FakeClock clock;
    ScriptedLine line{clock};
    MemoryConnectBar bar;
    RecordingPrompter prompter;
    RecordingAppliers appliers;
    QString portFound = QStringLiteral("ttyUSB0");
    std::vector<int> quits;
    LinkEngine engine;

    // Writes made since the given index.
    std::vector<QByteArray> writtenSince(std::size_t from) const;
    // Runs the clock until the next write (at most `limitMs`); returns it, empty if none.
    QByteArray nextWrite(std::int64_t limitMs = 1000);
    // Connect click, probe answer, handshake and the five blocks: a linked engine.
    void connect();
    // Disconnect click, probe answer and the disconnection's acknowledgement.
    void disconnect();
    QStringList boxTexts() const;
};

// A request as a handler stores it (with the link up, so its test holds).
LinkStore request(int step, StoreTest test = StoreTest::LinkUp);
// A section recall as the section selectors store it.
LinkStore recall(int mode, int preset, int block);

// A block reply: 10 0N and `size` bytes counting up from `first`.
QByteArray blockReply(int block, int size, int first = 0);

} // namespace korvanex::link::testing
