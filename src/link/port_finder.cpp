#include "link/port_finder.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace korvanex::link {

bool isCh341Bridge(std::uint16_t vendorId, std::uint16_t productId) {
    if (vendorId != 0x1A86) {
        return false;
    }
    // CH340/CH341 (7523, 5523, 7522, E523) and the later CH34x/CH910x serial bridges.
    switch (productId) {
    case 0x7523:
    case 0x5523:
    case 0x7522:
    case 0xE523:
    case 0x7584:
    case 0x55D2:
    case 0x55D3:
    case 0x55D4:
    case 0x55D5:
    case 0x55D7:
    case 0x55D8:
    case 0x55DB:
    case 0x55DD:
    case 0x55DE:
    case 0x55E7:
        return true;
    default:
        return false;
    }
}

namespace {

// Natural order: runs of digits compare by their value, so ttyUSB2 comes before ttyUSB10
// and COM9 before COM10.
bool naturalLess(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i;
            qsizetype ej = j;
            while (ei < a.size() && a[ei].isDigit()) {
                ++ei;
            }
            while (ej < b.size() && b[ej].isDigit()) {
                ++ej;
            }
            // Compare the runs without leading zeros: longer means larger.
            QStringView ra = QStringView(a).mid(i, ei - i);
            QStringView rb = QStringView(b).mid(j, ej - j);
            while (ra.size() > 1 && ra.front() == u'0') {
                ra = ra.mid(1);
            }
            while (rb.size() > 1 && rb.front() == u'0') {
                rb = rb.mid(1);
            }
            if (ra.size() != rb.size()) {
                return ra.size() < rb.size();
            }
            if (const int c = ra.compare(rb); c != 0) {
                return c < 0;
            }
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j]) {
            return a[i] < b[j];
        }
        ++i;
        ++j;
    }
    return (a.size() - i) < (b.size() - j);
}

} // namespace

QString pickCh341Port(QList<PortCandidate> candidates) {
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const PortCandidate& a, const PortCandidate& b) {
                         return naturalLess(a.portName, b.portName);
                     });
    for (const PortCandidate& candidate : candidates) {
        if (isCh341Bridge(candidate.vendorId, candidate.productId)) {
            return candidate.portName;
        }
    }
    return {};
}

QString findCh341Port() {
    QList<PortCandidate> candidates;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortCandidate candidate;
        candidate.portName = info.portName();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
            candidate.vendorId = info.vendorIdentifier();
            candidate.productId = info.productIdentifier();
        }
        candidates.append(candidate);
    }
    return pickCh341Port(candidates);
}

} // namespace korvanex::link
