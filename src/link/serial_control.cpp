#include "link/serial_control.h"

#include <QStringList>
#include <QTimer>

namespace korvanex::link {

MSComm::MSComm() : port_(std::make_unique<QSerialPort>()) {
    QObject::connect(port_.get(), &QSerialPort::errorOccurred, port_.get(),
                     [this](QSerialPort::SerialPortError error) { onError(error); });
    QObject::connect(port_.get(), &QSerialPort::readyRead, port_.get(), [this] {
        if (OnComm) {
            OnComm();
        }
    });
    parseSettings(settingsText_, settings_);
}

MSComm::~MSComm() {
    OnComm = nullptr;
    OnDeviceLost = nullptr;
    if (port_->isOpen()) {
        port_->close();
    }
}

bool MSComm::parseSettings(const QString& text, LineSettings& out) {
    const QStringList parts = text.split(u',');
    if (parts.size() != 4) {
        return false;
    }
    bool ok = false;
    const int baud = parts[0].trimmed().toInt(&ok);
    if (!ok || baud <= 0) {
        return false;
    }
    LineSettings parsed;
    parsed.baud = baud;
    const QString parity = parts[1].trimmed().toLower();
    if (parity == u"n") {
        parsed.parity = QSerialPort::NoParity;
    } else if (parity == u"e") {
        parsed.parity = QSerialPort::EvenParity;
    } else if (parity == u"o") {
        parsed.parity = QSerialPort::OddParity;
    } else if (parity == u"m") {
        parsed.parity = QSerialPort::MarkParity;
    } else if (parity == u"s") {
        parsed.parity = QSerialPort::SpaceParity;
    } else {
        return false;
    }
    const int bits = parts[2].trimmed().toInt(&ok);
    if (!ok || bits < 5 || bits > 8) {
        return false;
    }
    parsed.dataBits = static_cast<QSerialPort::DataBits>(bits);
    const QString stop = parts[3].trimmed();
    if (stop == u"1") {
        parsed.stopBits = QSerialPort::OneStop;
    } else if (stop == u"1.5") {
        parsed.stopBits = QSerialPort::OneAndHalfStop;
    } else if (stop == u"2") {
        parsed.stopBits = QSerialPort::TwoStop;
    } else {
        return false;
    }
    out = parsed;
    return true;
}

bool MSComm::setSettings(const QString& settings) {
    LineSettings parsed;
    if (!parseSettings(settings, parsed)) {
        return false;
    }
    settingsText_ = settings;
    settings_ = parsed;
    return true;
}

QString MSComm::Settings() const {
    return settingsText_;
}

void MSComm::setCommPort(const QString& portName) {
    // The port name of an open port cannot change; the caller leaves an open port alone.
    if (!port_->isOpen()) {
        port_->setPortName(portName);
    }
}

QString MSComm::CommPort() const {
    return port_->portName();
}

bool MSComm::applySettings() {
    return port_->setBaudRate(settings_.baud) && port_->setDataBits(settings_.dataBits) &&
           port_->setParity(settings_.parity) && port_->setStopBits(settings_.stopBits) &&
           port_->setFlowControl(QSerialPort::NoFlowControl);
}

SerialLine::OpenResult MSComm::Open() {
    if (PortOpen()) {
        return OpenResult::Opened;
    }
    if (port_->isOpen()) {
        port_->close(); // a handle left from a lost device
    }
    errorText_.clear();
    lost_ = false;
    if (!port_->open(QIODevice::ReadWrite)) {
        errorText_ = port_->errorString();
        port_->clearError();
        return OpenResult::CannotOpen;
    }
    if (!applySettings()) {
        errorText_ = port_->errorString();
        port_->close();
        port_->clearError();
        return OpenResult::SettingsRefused;
    }
    return OpenResult::Opened;
}

void MSComm::Close() {
    if (!port_->isOpen()) {
        return;
    }
    if (!lost_) {
        Flush();
    }
    port_->close();
    lost_ = false;
}

bool MSComm::PortOpen() const {
    return port_->isOpen() && !lost_;
}

QString MSComm::errorText() const {
    return errorText_;
}

bool MSComm::Output(const QByteArray& bytes) {
    if (!PortOpen()) {
        return false;
    }
    return port_->write(bytes) == bytes.size();
}

QByteArray MSComm::Input() {
    if (!PortOpen()) {
        return {};
    }
    return port_->readAll();
}

int MSComm::InBufferCount() const {
    return PortOpen() ? static_cast<int>(port_->bytesAvailable()) : 0;
}

int MSComm::OutBufferCount() const {
    return PortOpen() ? static_cast<int>(port_->bytesToWrite()) : 0;
}

void MSComm::ClearInBuffer() {
    if (PortOpen()) {
        port_->clear(QSerialPort::Input);
    }
}

void MSComm::ClearOutBuffer() {
    if (PortOpen()) {
        port_->clear(QSerialPort::Output);
    }
}

void MSComm::Flush() {
    if (!PortOpen()) {
        return;
    }
    // Hands everything still queued in the control to the system driver, which delivers it
    // even after the handle is closed.
    while (port_->bytesToWrite() > 0 && port_->flush()) {
    }
}

void MSComm::onError(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError &&
        error != QSerialPort::WriteError) {
        return;
    }
    if (!port_->isOpen() || lost_) {
        return;
    }
    // Mark the line dead at once (nothing more is read or written), close the handle from
    // the event loop (not inside the port's own notification) and report the loss once.
    lost_ = true;
    errorText_ = port_->errorString();
    QTimer::singleShot(0, port_.get(), [this] {
        if (!lost_) {
            return;
        }
        port_->close();
        port_->clearError();
        lost_ = false;
        if (OnDeviceLost) {
            OnDeviceLost();
        }
    });
}

} // namespace korvanex::link
