#pragma once
// The serial control as the pseudo-terminal benchmarks use it: a hook right after each receive
// event has been handled, and a count of the frames written.

#include "link/serial_control.h"
#include "link/serial_line.h"

#include <functional>

namespace korvanex::bench {

// The serial control, with a hook run right after each receive event has been handled.
class WatchedLine : public link::SerialLine {
public:
    WatchedLine() {
        inner_.OnComm = [this] {
            if (OnComm) {
                OnComm();
            }
            if (afterComm) {
                afterComm();
            }
        };
        inner_.OnDeviceLost = [this] {
            if (OnDeviceLost) {
                OnDeviceLost();
            }
        };
    }
    bool setSettings(const QString& s) override { return inner_.setSettings(s); }
    QString Settings() const override { return inner_.Settings(); }
    void setCommPort(const QString& p) override { inner_.setCommPort(p); }
    QString CommPort() const override { return inner_.CommPort(); }
    OpenResult Open() override { return inner_.Open(); }
    void Close() override { inner_.Close(); }
    bool PortOpen() const override { return inner_.PortOpen(); }
    QString errorText() const override { return inner_.errorText(); }
    bool Output(const QByteArray& b) override {
        ++writes;
        return inner_.Output(b);
    }
    QByteArray Input() override { return inner_.Input(); }
    int InBufferCount() const override { return inner_.InBufferCount(); }
    int OutBufferCount() const override { return inner_.OutBufferCount(); }
    void ClearInBuffer() override { inner_.ClearInBuffer(); }
    void ClearOutBuffer() override { inner_.ClearOutBuffer(); }
    void Flush() override { inner_.Flush(); }

    std::function<void()> afterComm;
    int writes = 0;

private:
    link::MSComm inner_;
};

} // namespace korvanex::bench
