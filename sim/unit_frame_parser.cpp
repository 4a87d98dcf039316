#include "unit_frame_parser.h"

#include <algorithm>
#include <array>

namespace korvanex::sim {

namespace {

constexpr std::array<std::uint8_t, 6> kHead = {0xA5, 0x67, 0x33, 0x31, 0x31, 0x30};
constexpr std::uint8_t kProbe = 0x3F;
constexpr qsizetype kHeadWithN = 7;

std::uint8_t at(const QByteArray& bytes, qsizetype i) {
    return static_cast<std::uint8_t>(bytes.at(i));
}

// Highest item of each parameter group.
int lastItem(std::uint8_t group) {
    switch (group) {
    case 0x02:
        return 0x06;
    case 0x03:
        return 0x07;
    case 0x04:
        return 0x1A;
    case 0x05:
        return 0x04;
    case 0x06:
        return 0x06;
    case 0x07:
        return 0x08;
    case 0x08:
        return 0x0F;
    case 0x0D:
        return 0x05;
    default:
        return 0;
    }
}

bool plausibleN(int n) {
    return n == UnitFrameParser::kLinkN || n == UnitFrameParser::kValueN ||
           n == UnitFrameParser::kWordN || n == UnitFrameParser::kBandN ||
           n == UnitFrameParser::kWholeSetN;
}

std::uint8_t sumOf(const QByteArray& frame, qsizetype from, qsizetype to) {
    unsigned sum = 0;
    for (qsizetype i = from; i < to; ++i) {
        sum += at(frame, i);
    }
    return static_cast<std::uint8_t>(sum & 0xFFu);
}

ParsedItem bad(const QByteArray& bytes, const char* reason) {
    ParsedItem item;
    item.kind = ParsedItem::Kind::BadFrame;
    item.bytes = bytes;
    item.reason = QString::fromLatin1(reason);
    return item;
}

} // namespace

int bandsOfGroup(std::uint8_t group) {
    switch (group) {
    case 0x02:
    case 0x03:
    case 0x0D:
        return 10;
    case 0x04:
    case 0x05:
    case 0x06:
    case 0x07:
        return 3;
    default:
        return 0;
    }
}

int expectedN(std::uint8_t group, std::uint8_t item) {
    if (item < 1 || item > lastItem(group)) {
        return 0;
    }
    if (item == 0x01 && bandsOfGroup(group) > 0) {
        return UnitFrameParser::kBandN;
    }
    if (group == 0x04 && item >= 0x02 && item <= 0x05) {
        return UnitFrameParser::kWordN; // the four cut-offs of the effect are 16-bit
    }
    return UnitFrameParser::kValueN;
}

std::vector<ParsedItem> UnitFrameParser::feed(QByteArrayView bytes) {
    buffer_.append(bytes.data(), bytes.size());
    std::vector<ParsedItem> out;
    while (!buffer_.isEmpty() && step(out)) {
    }
    return out;
}

std::vector<ParsedItem> UnitFrameParser::dropPartial() {
    std::vector<ParsedItem> out;
    if (!buffer_.isEmpty()) {
        out.push_back(bad(buffer_, "frame cut off"));
        buffer_.clear();
    }
    return out;
}

bool UnitFrameParser::step(std::vector<ParsedItem>& out) {
    // The fixed head, as far as it has arrived.
    const qsizetype headSeen = std::min<qsizetype>(buffer_.size(), kHead.size());
    for (qsizetype i = 0; i < headSeen; ++i) {
        if (at(buffer_, i) != kHead[static_cast<std::size_t>(i)]) {
            ParsedItem item;
            item.bytes = buffer_.left(1);
            if (at(buffer_, 0) == kProbe) {
                item.kind = ParsedItem::Kind::Request;
                item.request.kind = RequestKind::Probe;
                item.request.frame = item.bytes;
            }
            out.push_back(item);
            buffer_.remove(0, 1);
            return true;
        }
    }
    if (buffer_.size() < kHeadWithN) {
        return false;
    }
    const int n = at(buffer_, 6);
    if (!plausibleN(n)) {
        // Only the head is dropped: what follows may be the start of the next frame.
        out.push_back(bad(buffer_.left(kHeadWithN), "impossible length"));
        buffer_.remove(0, kHeadWithN);
        return true;
    }
    if (buffer_.size() < kHeadWithN + n) {
        return false;
    }
    const QByteArray frame = buffer_.left(kHeadWithN + n);
    buffer_.remove(0, frame.size());
    out.push_back(judgeFrame(frame));
    return true;
}

ParsedItem UnitFrameParser::judgeFrame(const QByteArray& frame) const {
    const int n = at(frame, 6);
    const std::uint8_t group = at(frame, 7);
    ParsedItem item;
    item.kind = ParsedItem::Kind::Request;
    item.bytes = frame;
    UnitRequest& request = item.request;
    request.frame = frame;
    request.group = group;

    if (group == 0x01 && n == kLinkN) {
        const std::uint8_t command = at(frame, 8);
        if (command != 0x7F && command != 0x00) {
            return bad(frame, "unknown link command");
        }
        request.kind = RequestKind::Link;
        request.item = command;
        return item;
    }
    if (group == 0x13 && n == kWholeSetN) {
        request.kind = RequestKind::WholeSet;
        request.values = frame.mid(8);
        return item;
    }

    const qsizetype last = frame.size() - 1;
    const bool checksumOk = n >= kValueN && sumOf(frame, 7, last) == at(frame, last);
    const std::uint8_t itemByte = n >= kValueN ? at(frame, 8) : 0;
    if (checksumOk && expectedN(group, itemByte) == n) {
        if (itemByte == 0x01 && at(frame, 9) >= bandsOfGroup(group) && n == kBandN) {
            return bad(frame, "no such band");
        }
        request.kind = RequestKind::Parameter;
        request.item = itemByte;
        request.values = frame.mid(9, n - 3);
        return item;
    }
    // The block read shares N 05 with the effect's 16-bit frames; it carries 10 and 08 where
    // those carry a value and a checksum.
    if (n == kWordN && at(frame, 9) == 0x10 && at(frame, 11) == 0x08) {
        const std::uint8_t block = at(frame, 10);
        if (block < 1 || block > 5) {
            return bad(frame, "no such block");
        }
        request.kind = RequestKind::BlockRead;
        request.group = 0;
        request.recallMode = group;
        request.recallPreset = at(frame, 8);
        request.block = block;
        return item;
    }
    if (n >= kValueN && expectedN(group, itemByte) == n) {
        return bad(frame, "bad checksum");
    }
    return bad(frame, "length does not fit group and item");
}

} // namespace korvanex::sim
