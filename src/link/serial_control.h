#pragma once
// The serial control over QSerialPort. On the first read, resource or write error the handle
// is closed at once (QSerialPort otherwise keeps the dead port "open" and raises errors in a
// tight loop) and the loss is reported once, from the event loop.

#include "link/serial_line.h"

#include <QSerialPort>
#include <memory>

namespace korvanex::link {

class MSComm : public SerialLine {
public:
    MSComm();
    ~MSComm() override;

    bool setSettings(const QString& settings) override;
    QString Settings() const override;
    void setCommPort(const QString& portName) override;
    QString CommPort() const override;

    OpenResult Open() override;
    void Close() override;
    bool PortOpen() const override;
    QString errorText() const override;

    bool Output(const QByteArray& bytes) override;
    QByteArray Input() override;
    int InBufferCount() const override;
    int OutBufferCount() const override;
    void ClearInBuffer() override;
    void ClearOutBuffer() override;
    void Flush() override;

private:
    struct LineSettings {
        qint32 baud = 9600;
        QSerialPort::Parity parity = QSerialPort::NoParity;
        QSerialPort::DataBits dataBits = QSerialPort::Data8;
        QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    };
    static bool parseSettings(const QString& text, LineSettings& out);
    bool applySettings();
    void onError(QSerialPort::SerialPortError error);

    std::unique_ptr<QSerialPort> port_;
    QString settingsText_ = QStringLiteral("9600,n,8,1");
    LineSettings settings_;
    QString errorText_;
    bool lost_ = false; // the device vanished: the handle is about to be closed
};

} // namespace korvanex::link
