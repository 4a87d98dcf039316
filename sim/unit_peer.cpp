#include "unit_peer.h"

#include <algorithm>
#include <optional>

namespace korvanex::sim {

namespace {

QByteArray ack(std::uint8_t group, std::uint8_t item) {
    QByteArray a;
    a.append(static_cast<char>(0x35));
    a.append(static_cast<char>(0x82));
    a.append(static_cast<char>(group));
    a.append(static_cast<char>(item));
    return a;
}

} // namespace

QByteArray UnitPeer::blockReply(int n, const QByteArray& block) {
    QByteArray reply;
    reply.append(static_cast<char>(0x10));
    reply.append(static_cast<char>(n));
    reply.append(block);
    return reply;
}

std::vector<Transmission> UnitPeer::receive(QByteArrayView bytes, qint64 nowMs) {
    std::vector<ParsedItem> items;
    if (parser_.pendingBytes() > 0 && nowMs - lastByteMs_ > kFrameIdleMs) {
        items = parser_.dropPartial();
    }
    if (!bytes.isEmpty()) {
        lastByteMs_ = nowMs;
    }
    auto fresh = parser_.feed(bytes);
    items.insert(items.end(), std::make_move_iterator(fresh.begin()),
                 std::make_move_iterator(fresh.end()));

    std::vector<Transmission> out;
    for (const ParsedItem& item : items) {
        switch (item.kind) {
        case ParsedItem::Kind::StrayByte:
            ++strayBytes_;
            break;
        case ParsedItem::Kind::BadFrame:
            ++badFrames_;
            break;
        case ParsedItem::Kind::Request:
            requests_.push_back(item.request);
            answer(item.request, out);
            break;
        }
    }
    return out;
}

QByteArray UnitPeer::replyTo(const UnitRequest& request) {
    switch (request.kind) {
    case RequestKind::Probe:
        return QByteArray("\x52\x3A", 2);
    case RequestKind::Link:
        return ack(0x01, request.item);
    case RequestKind::BlockRead:
        return blockReply(request.block,
                          model_.read(request.recallMode, request.recallPreset, request.block));
    case RequestKind::Parameter:
        return ack(request.group, request.item);
    case RequestKind::WholeSet:
        return ack(0x13, 0x00);
    }
    return {};
}

void UnitPeer::answer(const UnitRequest& request, std::vector<Transmission>& out) {
    // A recall switches the preset as it is read; when the faults then keep the unit silent,
    // the switch is undone, as the unit never took the request.
    std::optional<UnitModel> beforeRead;
    if (request.kind == RequestKind::BlockRead) {
        beforeRead = model_;
    }
    bool acknowledged = true;
    const QByteArray reply = replyTo(request);
    const auto other = [this](int n) { return blockReply(n, model_.block(n)); };
    auto pieces = faults_.shape(request, reply, other, acknowledged);
    if (pieces.empty() && beforeRead) {
        model_ = *beforeRead;
    }
    if (acknowledged) {
        if (request.kind == RequestKind::Parameter) {
            model_.applyParameter(request.group, request.item, request.values);
        } else if (request.kind == RequestKind::WholeSet) {
            model_.applyWholeSet(request.values);
        } else if (request.kind == RequestKind::Link) {
            model_.setLinked(request.item == 0x7F);
        }
    }
    out.insert(out.end(), pieces.begin(), pieces.end());
}

int UnitPeer::countOf(RequestKind kind) const {
    return static_cast<int>(std::count_if(requests_.begin(), requests_.end(),
                                          [kind](const UnitRequest& r) { return r.kind == kind; }));
}

void UnitPeer::clearLog() {
    requests_.clear();
    badFrames_ = 0;
    strayBytes_ = 0;
}

} // namespace korvanex::sim
