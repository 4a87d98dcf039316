#pragma once
// A window on a scripted serial line and a fake clock, with the message boxes recorded.

#include "app/form1.h"
#include "core/file_dialog.h"
#include "core/prompter.h"
#include "link/fake_clock.h"
#include "link/serial_line.h"

#include <QByteArray>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace korvanex::testing {

// A serial line that records what the program does with it. Replies are queued by a responder
// (or by the test) and delivered between clock steps, as bytes arriving from the unit would.
class FakeLine : public link::SerialLine {
public:
    bool setSettings(const QString& settings) override;
    QString Settings() const override { return settings_; }
    void setCommPort(const QString& portName) override { port_ = portName; }
    QString CommPort() const override { return port_; }

    OpenResult Open() override;
    void Close() override;
    bool PortOpen() const override { return open_; }
    QString errorText() const override { return {}; }

    bool Output(const QByteArray& bytes) override;
    QByteArray Input() override;
    int InBufferCount() const override { return int(input_.size()); }
    int OutBufferCount() const override { return 0; }
    void ClearInBuffer() override { input_.clear(); }
    void ClearOutBuffer() override {}
    void Flush() override;

    // Bytes arriving now: buffered and the receive event raised.
    void arrive(const QByteArray& bytes);
    // Delivers every queued reply.
    void deliverQueued();

    // The unit's answer to each written frame (empty: silence).
    std::function<QByteArray(const QByteArray& written)> responder;
    OpenResult openResult = OpenResult::Opened;
    bool failWrites = false;

    std::vector<QByteArray> writes; // every frame the program tried to write
    QStringList events;             // "open", "write <hex>", "flush", "close" in order
    int closes = 0;

private:
    QString settings_;
    QString port_;
    bool open_ = false;
    QByteArray input_;
    std::deque<QByteArray> queued_;
};

// Answers as a unit would: the probe, both link commands and the five block reads (blocks
// of zeros).
QByteArray unitReply(const QByteArray& written);

QByteArray bytes(std::initializer_list<int> values);

class FormHarness {
public:
    FormHarness();
    ~FormHarness();

    // Moves the clock `ms` milliseconds in 1 ms steps, delivering queued replies after each.
    void run(int ms);
    // Clicks "连接" and lets the unit answer until the link is up (or `ms` pass).
    void connect(int ms = 2000);

    link::FakeClock clock;
    RecordingPrompter prompter;
    ScriptedFileDialog dialog;
    FakeLine* line = nullptr;
    std::vector<int> quits;
    std::unique_ptr<Form1> form;
};

} // namespace korvanex::testing
