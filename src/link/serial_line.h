#pragma once
// The serial control as the link engine sees it: the members the program uses of the port
// control (PortOpen, Output, Input, InBufferCount, OutBufferCount, Settings, CommPort and the
// receive event), plus the device-lost notice. MSComm (serial_control.h) is the real one over
// QSerialPort; tests script their own.

#include <QByteArray>
#include <QString>
#include <functional>

namespace korvanex::link {

class SerialLine {
public:
    enum class OpenResult {
        Opened,          // the port is open with the settings applied
        CannotOpen,      // busy, no permission, gone: the port stays closed
        SettingsRefused, // the port opened but refused the line settings; it is closed again
    };

    virtual ~SerialLine() = default;

    // "38400,n,8,1"; false when the text is not a valid setting. Applied at the next Open().
    virtual bool setSettings(const QString& settings) = 0;
    virtual QString Settings() const = 0;
    // The port's system name ("ttyUSB0", "/dev/pts/3", "COM3").
    virtual void setCommPort(const QString& portName) = 0;
    virtual QString CommPort() const = 0;

    // PortOpen = True / False. Close() flushes what is still waiting to go out first.
    virtual OpenResult Open() = 0;
    virtual void Close() = 0;
    virtual bool PortOpen() const = 0;
    // Why the last Open() failed, for standard error.
    virtual QString errorText() const = 0;

    // Writes the whole frame; false when the port is closed or refuses the write.
    virtual bool Output(const QByteArray& bytes) = 0;
    // Everything received and not yet read (empty when nothing is waiting).
    virtual QByteArray Input() = 0;
    virtual int InBufferCount() const = 0;
    virtual int OutBufferCount() const = 0;
    // InBufferCount = 0 / OutBufferCount = 0: unread input / unsent output are dropped.
    virtual void ClearInBuffer() = 0;
    virtual void ClearOutBuffer() = 0;
    // Pushes pending output to the device now (used before closing on exit).
    virtual void Flush() = 0;

    // Raised for every arrival of at least one byte (the receive event).
    std::function<void()> OnComm;
    // Raised once, from the event loop, after the device vanished under an open port; the
    // port is already closed when it runs.
    std::function<void()> OnDeviceLost;
};

} // namespace korvanex::link
