#pragma once
// Finding the CH341 bridge's serial port by its USB identifiers.

#include <QList>
#include <QString>
#include <cstdint>
#include <functional>

namespace korvanex::link {

// Returns the port name to use, empty when none is found. Injected into the engine, so that
// a pseudo-terminal or a test can stand in for the USB bridge.
using PortFinder = std::function<QString()>;

struct PortCandidate {
    QString portName;
    std::uint16_t vendorId = 0; // 0 when the port has no USB identifiers
    std::uint16_t productId = 0;
};

// True for the vendor/product pairs of the CH34x USB-serial bridges.
bool isCh341Bridge(std::uint16_t vendorId, std::uint16_t productId);

// The first CH341 port in natural name order (ttyUSB2 before ttyUSB10), empty when none.
QString pickCh341Port(QList<PortCandidate> candidates);

// The finder over the system's serial ports.
QString findCh341Port();

} // namespace korvanex::link
