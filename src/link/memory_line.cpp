#include "link/memory_line.h"

#include <utility>

namespace korvanex::link {

bool MemoryLine::setSettings(const QString& settings) {
    settings_ = settings;
    return true;
}

SerialLine::OpenResult MemoryLine::Open() {
    open = true;
    return OpenResult::Opened;
}

void MemoryLine::Close() {
    open = false;
    incoming.clear();
}

bool MemoryLine::Output(const QByteArray& bytes) {
    writes.push_back(bytes);
    return open;
}

QByteArray MemoryLine::Input() {
    return std::exchange(incoming, {});
}

void MemoryLine::receive(const QByteArray& bytes) {
    if (!open) {
        return;
    }
    incoming += bytes;
    if (OnComm) {
        OnComm();
    }
}

void MemoryLine::unplug() {
    if (!open) {
        return;
    }
    open = false;
    incoming.clear();
    if (OnDeviceLost) {
        OnDeviceLost();
    }
}

} // namespace korvanex::link
