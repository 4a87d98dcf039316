#pragma once
// How the unit reads the byte stream from the PC: single probe bytes 3F between frames, and
// request frames A5 67 33 31 31 30, N, then N bytes. Every frame is checked before the unit
// acts on it: N must be the length its group and item call for, the item must exist in its
// group, a band index must exist on its equaliser, and a frame with a checksum must carry the
// right one. A frame that fails any check is dropped whole and not answered, as the unit does
// with a frame hit by line noise: the PC's resend is the remedy.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <vector>

namespace korvanex::sim {

enum class RequestKind {
    Probe,     // the single byte 3F
    Link,      // group 01: 7F connects, 00 disconnects
    BlockRead, // RecallMode, RecallPreset, 10, block, 08
    Parameter, // group, item, value bytes, checksum
    WholeSet,  // group 13 and 212 parameter bytes, no checksum
};

struct UnitRequest {
    RequestKind kind = RequestKind::Probe;
    QByteArray frame;       // the request as received
    std::uint8_t group = 0; // Link: 01; Parameter: its group; WholeSet: 13
    std::uint8_t item = 0;  // Link: the command; Parameter: its item
    QByteArray values;      // Parameter: value bytes without the checksum; WholeSet: 212 bytes
    std::uint8_t recallMode = 0;
    std::uint8_t recallPreset = 0;
    std::uint8_t block = 0;
};

struct ParsedItem {
    enum class Kind { Request, BadFrame, StrayByte };
    Kind kind = Kind::StrayByte;
    UnitRequest request; // Kind::Request
    QByteArray bytes;    // what this item consumed from the stream
    QString reason;      // Kind::BadFrame: why it was refused
};

class UnitFrameParser {
public:
    // Appends bytes to the stream and returns what became complete, in stream order.
    std::vector<ParsedItem> feed(QByteArrayView bytes);
    // The line went quiet in the middle of a frame: its start is dropped, so that a frame cut
    // off by a closing port does not swallow the next one.
    std::vector<ParsedItem> dropPartial();
    qsizetype pendingBytes() const { return buffer_.size(); }

    // Frame lengths the unit knows, as N (bytes after position 6).
    static constexpr int kLinkN = 2;
    static constexpr int kValueN = 4;
    static constexpr int kWordN = 5;
    static constexpr int kBandN = 8;
    static constexpr int kWholeSetN = 0xD5;
    static constexpr int kWholeSetValues = 212;

private:
    // One step over the buffer's head; false when more bytes are needed.
    bool step(std::vector<ParsedItem>& out);
    ParsedItem judgeFrame(const QByteArray& frame) const;

    QByteArray buffer_;
};

// The N a frame of this group and item must carry; 0 for an unknown group or item.
int expectedN(std::uint8_t group, std::uint8_t item);
// Bands of the equaliser a group's band item (01) addresses; 0 when the group has none.
int bandsOfGroup(std::uint8_t group);

} // namespace korvanex::sim
