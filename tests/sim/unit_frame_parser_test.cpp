#include "frame_helpers.h"
#include "sim/unit_frame_parser.h"

#include <gtest/gtest.h>

using namespace korvanex::sim;
using namespace korvanex::sim::testing;

namespace {

std::vector<ParsedItem> parseAll(const QByteArray& stream) {
    UnitFrameParser parser;
    return parser.feed(stream);
}

std::vector<UnitRequest> requestsOf(const std::vector<ParsedItem>& items) {
    std::vector<UnitRequest> out;
    for (const auto& item : items) {
        if (item.kind == ParsedItem::Kind::Request) {
            out.push_back(item.request);
        }
    }
    return out;
}

} // namespace

// Catches: a request frame of the program taken for another kind or with the wrong operands
// (the block read and the effect's 16-bit frames share the length 05).
TEST(UnitFrameParser, ProgramFramesParseAsTheirRequests) {
    struct Case {
        QByteArray frame;
        RequestKind kind;
        int group, item;
        QByteArray values;
    };
    const Case cases[] = {
        {bytes({0x3F}), RequestKind::Probe, 0, 0, {}},
        {linkFrame(0x7F), RequestKind::Link, 1, 0x7F, {}},
        {linkFrame(0x00), RequestKind::Link, 1, 0x00, {}},
        {frameWithChecksum({2, 2, 6}), RequestKind::Parameter, 2, 2, bytes({6})},
        {frameWithChecksum({2, 1, 3, 0x0A, 0x96, 1, 0xD8}), RequestKind::Parameter, 2, 1,
         bytes({3, 0x0A, 0x96, 1, 0xD8})},
        {frameWithChecksum({4, 3, 5, 0x78}), RequestKind::Parameter, 4, 3, bytes({5, 0x78})},
        {frameWithChecksum({4, 2, 1, 0xD8}), RequestKind::Parameter, 4, 2, bytes({1, 0xD8})},
        // A 16-bit effect frame whose value bytes look like a block read's 10 .. 08 framing.
        {frameWithChecksum({4, 4, 0x10, 0xF4}), RequestKind::Parameter, 4, 4, bytes({0x10, 0xF4})},
        {frameWithChecksum({8, 0x0F, 0x7F}), RequestKind::Parameter, 8, 0x0F, bytes({0x7F})},
        {frameWithChecksum({0x0D, 5, 0xFF}), RequestKind::Parameter, 0x0D, 5, bytes({0xFF})},
    };
    for (const Case& c : cases) {
        const auto requests = requestsOf(parseAll(c.frame));
        ASSERT_EQ(requests.size(), 1u) << c.frame.toHex(' ').toStdString();
        EXPECT_EQ(requests[0].kind, c.kind) << c.frame.toHex(' ').toStdString();
        EXPECT_EQ(requests[0].group, c.group);
        EXPECT_EQ(requests[0].item, c.item);
        EXPECT_EQ(requests[0].values, c.values);
    }

    const auto recall = requestsOf(parseAll(blockReadFrame(0x0A, 2, 2)));
    ASSERT_EQ(recall.size(), 1u);
    EXPECT_EQ(recall[0].kind, RequestKind::BlockRead);
    EXPECT_EQ(recall[0].recallMode, 0x0A);
    EXPECT_EQ(recall[0].recallPreset, 2);
    EXPECT_EQ(recall[0].block, 2);

    QByteArray values(212, '\x3F');
    const auto whole = requestsOf(parseAll(wholeSetFrame(values)));
    ASSERT_EQ(whole.size(), 1u) << "3F inside a frame is not a probe";
    EXPECT_EQ(whole[0].kind, RequestKind::WholeSet);
    EXPECT_EQ(whole[0].values, values);
}

// Catches: a damaged frame acted upon, or its inner bytes (3F among them) read as probes.
TEST(UnitFrameParser, DamagedFramesAreDroppedWhole) {
    QByteArray badSum = frameWithChecksum({4, 0x0E, 0x3F});
    badSum[badSum.size() - 1] = static_cast<char>(badSum.back() + 1);
    const QByteArray damaged[] = {
        badSum,
        frameWithChecksum({2, 1, 10, 10, 120, 1, 0xD8}), // band 10 of a ten-band equaliser
        frameWithChecksum({4, 1, 3, 10, 120, 1, 0xD8}),  // band 3 of a three-band one
        frameWithChecksum({2, 7, 0x3F}),                 // no item 07 in the music group
        frameWithChecksum({9, 1, 0x3F}),                 // no group 09
        frameWithChecksum({2, 2, 0x3F, 0x3F}),           // one value byte too many
        linkFrame(0x3F),                                 // neither connect nor disconnect
        blockReadFrame(0, 0, 6),                         // no block 6
    };
    for (const QByteArray& frame : damaged) {
        const auto items = parseAll(frame);
        ASSERT_EQ(items.size(), 1u) << frame.toHex(' ').toStdString();
        EXPECT_EQ(items[0].kind, ParsedItem::Kind::BadFrame) << frame.toHex(' ').toStdString();
        EXPECT_EQ(items[0].bytes, frame);
    }
}

// Catches: the parser losing the frame that follows line noise, an impossible length or a
// frame cut off by the line going quiet.
TEST(UnitFrameParser, FindsTheNextFrameAfterNoise) {
    const QByteArray good = frameWithChecksum({6, 3, 0x50});
    const QByteArray noise = bytes({0x00, 0xA5, 0x67, 0x12, 0xA5});
    const QByteArray impossible = bytes({0xA5, 0x67, 0x33, 0x31, 0x31, 0x30, 0x63});

    auto items = parseAll(noise + impossible + good);
    auto requests = requestsOf(items);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].frame, good);

    UnitFrameParser parser;
    EXPECT_TRUE(parser.feed(good.left(9)).empty()) << "a partial frame waits";
    EXPECT_EQ(parser.pendingBytes(), 9);
    const auto dropped = parser.dropPartial();
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0].kind, ParsedItem::Kind::BadFrame);
    requests = requestsOf(parser.feed(good));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].frame, good);
}

// Catches: a result that depends on how the line cut the stream into reads.
TEST(UnitFrameParser, ByteByByteEqualsWhole) {
    const QByteArray stream = bytes({0x3F, 0x3F}) + linkFrame(0x7F) + blockReadFrame(0, 0, 1) +
                              frameWithChecksum({4, 2, 1, 0xD8}) + bytes({0x55}) +
                              wholeSetFrame(QByteArray(212, '\x10')) +
                              frameWithChecksum({7, 5, 0x50});
    const auto whole = parseAll(stream);
    UnitFrameParser parser;
    std::vector<ParsedItem> piecewise;
    for (const char c : stream) {
        for (auto& item : parser.feed(QByteArray(1, c))) {
            piecewise.push_back(item);
        }
    }
    ASSERT_EQ(piecewise.size(), whole.size());
    for (std::size_t i = 0; i < whole.size(); ++i) {
        EXPECT_EQ(piecewise[i].kind, whole[i].kind);
        EXPECT_EQ(piecewise[i].bytes, whole[i].bytes);
    }
    EXPECT_EQ(requestsOf(whole).size(), 7u);
}
