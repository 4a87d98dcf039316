#include "fuzz/targets/unit_frame_parser_target.h"

#include "sim/unit_peer.h"

#include <QByteArray>
#include <cstdlib>

namespace {

using korvanex::sim::ParsedItem;
using korvanex::sim::RequestKind;
using korvanex::sim::UnitFrameParser;
using korvanex::sim::UnitModel;
using korvanex::sim::UnitPeer;

void require(bool promise) {
    if (!promise) {
        std::abort();
    }
}

void checkRequest(const korvanex::sim::UnitRequest& r) {
    const auto u = [&](qsizetype i) { return static_cast<std::uint8_t>(r.frame.at(i)); };
    switch (r.kind) {
    case RequestKind::Probe:
        require(r.frame == QByteArray(1, '\x3F'));
        break;
    case RequestKind::Link:
        require(r.frame.size() == 9 && (r.item == 0x7F || r.item == 0x00));
        break;
    case RequestKind::BlockRead:
        require(r.frame.size() == 12 && r.block >= 1 && r.block <= 5);
        break;
    case RequestKind::WholeSet:
        require(r.frame.size() == 220 && r.values.size() == UnitFrameParser::kWholeSetValues);
        break;
    case RequestKind::Parameter: {
        const qsizetype last = r.frame.size() - 1;
        unsigned sum = 0;
        for (qsizetype i = 7; i < last; ++i) {
            sum += u(i);
        }
        require((sum & 0xFFu) == u(last));
        require(korvanex::sim::expectedN(r.group, r.item) == u(6));
        require(r.values.size() == u(6) - 3);
        break;
    }
    }
}

// Every answer the unit gives without faults is a probe answer, an acknowledgement or a
// whole block.
void checkAnswer(const QByteArray& a) {
    require(a.size() >= 2);
    const auto u = [&](qsizetype i) { return static_cast<std::uint8_t>(a.at(i)); };
    if (u(0) == 0x52) {
        require(a.size() == 2 && u(1) == 0x3A);
    } else if (u(0) == 0x35) {
        require(a.size() == 4 && u(1) == 0x82);
    } else {
        require(u(0) == 0x10 && u(1) >= 1 && u(1) <= 5);
        require(a.size() == 2 + UnitModel::kBlockSizes[u(1) - 1]);
    }
}

} // namespace

int fuzzUnitFrameParser(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte decides how the line cuts the stream: chunk length and how often the
    // line goes quiet long enough to give up a partial frame.
    const std::size_t chunk = (data[0] & 0x0Fu) + 1;
    const std::size_t quietEvery = (data[0] >> 4) + 1;
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const std::size_t total = size - 1;

    UnitFrameParser parser;
    UnitPeer peer;
    std::size_t accounted = 0;
    qint64 nowMs = 0;
    std::size_t chunkNo = 0;
    for (std::size_t at = 0; at < total; at += chunk, ++chunkNo) {
        const std::size_t n = std::min(chunk, total - at);
        const bool quiet = chunkNo % quietEvery == quietEvery - 1;
        nowMs += quiet ? UnitPeer::kFrameIdleMs + 1 : 1;
        std::vector<ParsedItem> items;
        if (quiet) {
            items = parser.dropPartial();
        }
        const auto fed = parser.feed(QByteArrayView(bytes + at, static_cast<qsizetype>(n)));
        items.insert(items.end(), fed.begin(), fed.end());
        for (const ParsedItem& item : items) {
            accounted += static_cast<std::size_t>(item.bytes.size());
            if (item.kind == ParsedItem::Kind::Request) {
                checkRequest(item.request);
            }
            require(!item.bytes.isEmpty());
        }
        for (const auto& piece :
             peer.receive(QByteArrayView(bytes + at, static_cast<qsizetype>(n)), nowMs)) {
            checkAnswer(piece.bytes);
        }
        require(accounted + static_cast<std::size_t>(parser.pendingBytes()) == at + n);
    }
    // Whatever was written, the blocks keep their sizes.
    for (int b = 1; b <= 5; ++b) {
        require(peer.model().block(b).size() == UnitModel::kBlockSizes[b - 1]);
    }
    return 0;
}
