#pragma once
// A line that only remembers: for running the link without a port (tests, benchmarks,
// fuzzing). The caller plays the unit's bytes into it and reads back what was written.

#include "link/serial_line.h"

#include <vector>

namespace korvanex::link {

class MemoryLine : public SerialLine {
public:
    bool setSettings(const QString& settings) override;
    QString Settings() const override { return settings_; }
    void setCommPort(const QString& portName) override { port_ = portName; }
    QString CommPort() const override { return port_; }

    OpenResult Open() override;
    void Close() override;
    bool PortOpen() const override { return open; }
    QString errorText() const override { return {}; }

    // Every frame is recorded, also one tried on a closed port (which fails).
    bool Output(const QByteArray& bytes) override;
    QByteArray Input() override;
    int InBufferCount() const override { return static_cast<int>(incoming.size()); }
    int OutBufferCount() const override { return 0; }
    void ClearInBuffer() override { incoming.clear(); }
    void ClearOutBuffer() override {}
    void Flush() override {}

    // Bytes from the unit: buffered and the receive event raised, while the port is open.
    void receive(const QByteArray& bytes);
    // The bridge vanishes under the open port: closed, and the device-lost notice raised.
    void unplug();

    bool open = false;
    QByteArray incoming;
    std::vector<QByteArray> writes; // every frame the program tried to write, in order

private:
    QString settings_;
    QString port_;
};

} // namespace korvanex::link
