#include "frame_helpers.h"
#include "sim/unit_peer.h"

#include <gtest/gtest.h>

#include <map>

using namespace korvanex::sim;
using namespace korvanex::sim::testing;

namespace {

// The record after `frame` and a plausible request behind it (which must add nothing).
std::vector<ImplausibleValue> recordAfter(const QByteArray& frame) {
    UnitPeer peer;
    peer.receive(frame);
    peer.receive(frameWithChecksum({2, 2, 3}));
    EXPECT_EQ(peer.countOf(RequestKind::Parameter) + peer.countOf(RequestKind::WholeSet), 2)
        << "the frame is well formed and taken";
    return peer.model().implausibleValues();
}

} // namespace

// Catches: a range bound off by one, a rule on the wrong byte or block, a word judged by one
// byte, a switch judged as a range, and a plausible value recorded. Each row is one request
// the unit takes; the record names the block, the value's first byte, the value and the rule.
TEST(UnitRecord, ImplausibleParameterValuesAreNoted) {
    using I = Implausible;
    struct Row {
        QByteArray frame;
        std::vector<ImplausibleValue> expected;
    };
    const Row rows[] = {
        {frameWithChecksum({2, 1, 3, 10, 240, 0x0B, 0x27}), {}},
        {frameWithChecksum({2, 1, 3, 10, 241, 1, 0xD8}), {{1, 3, 241, I::Gain}}},
        {frameWithChecksum({3, 1, 9, 2, 120, 1, 0xD8}), {{2, 19, 2, I::Q}}},
        {frameWithChecksum({7, 1, 2, 151, 120, 0x0B, 0x28}),
         {{1, 76, 151, I::Q}, {1, 81, 2856, I::FreqCode}}},
        {frameWithChecksum({4, 1, 0, 3, 120, 0, 0}), {}},
        {frameWithChecksum({4, 2, 1, 0xD8}), {}},
        {frameWithChecksum({4, 2, 1, 0xD9}), {{3, 37, 473, I::CutOff}}},
        {frameWithChecksum({4, 4, 2, 0}), {{3, 33, 512, I::CutOff}}},
        {frameWithChecksum({4, 3, 5, 0x78}), {}},
        {frameWithChecksum({4, 5, 5, 0x79}), {{3, 35, 1401, I::KHzCutOff}}},
        {frameWithChecksum({2, 3, 255}), {}},
        {frameWithChecksum({2, 3, 254}), {{5, 19, 254, I::Switch}}},
        {frameWithChecksum({6, 4, 71}), {}},
        {frameWithChecksum({6, 4, 255}), {{1, 56, 255, I::Switch}}},
        {frameWithChecksum({7, 6, 71}), {{1, 85, 71, I::Switch}}},
        {frameWithChecksum({0x0D, 5, 1}), {{kBypassBlock, 0x0D, 1, I::Switch}}},
        {frameWithChecksum({8, 0x0A, 10}), {}},
        {frameWithChecksum({8, 0x0A, 11}), {{5, 21, 11, I::Index}}},
        {frameWithChecksum({8, 0x0E, 2}), {{5, 22, 2, I::Index}}},
        {frameWithChecksum({8, 0x0B, 3}), {{5, 18, 3, I::Index}}},
        {frameWithChecksum({8, 0x09, 8}), {{5, 14, 8, I::Index}}},
        {frameWithChecksum({2, 6, 80}), {}},
        {frameWithChecksum({2, 6, 81}), {{5, 0, 81, I::Volume}}},
        {frameWithChecksum({4, 8, 81}), {{3, 15, 81, I::Volume}}},
        {frameWithChecksum({7, 5, 200}), {{1, 83, 200, I::Volume}}},
        {frameWithChecksum({8, 6, 90}), {{5, 12, 90, I::Volume}}},
    };
    for (std::size_t k = 0; k < std::size(rows); ++k) {
        EXPECT_EQ(recordAfter(rows[k].frame), rows[k].expected) << "row " << k;
    }
}

// Catches: a whole set checked only in part (or not at all), a rule missing from an
// equaliser section or a volume, the unused effect bytes let through, and the unit's own
// plausible state reported. Every byte 255 breaks every rule the whole set reaches.
TEST(UnitRecord, ImplausibleWholeSetValuesAreNoted) {
    QByteArray values = UnitModel().wholeSetBytes();
    EXPECT_TRUE(recordAfter(wholeSetFrame(values)).empty());
    values[211] = 8; // the effect program past EFF4
    EXPECT_EQ(recordAfter(wholeSetFrame(values)),
              (std::vector<ImplausibleValue>{{3, 0, 8, Implausible::Index}}));

    std::map<Implausible, std::vector<std::pair<int, int>>> found; // block, byte
    for (const ImplausibleValue& v : recordAfter(wholeSetFrame(QByteArray(212, '\xFF')))) {
        found[v.kind].emplace_back(v.block, v.byte);
    }
    // 42 bands: music 10 + 3 + 3 + 3, microphones 10 + 10, effect 3.
    EXPECT_EQ(found[Implausible::Gain].size(), 42u);
    EXPECT_EQ(found[Implausible::Q].size(), 42u);
    EXPECT_EQ(found[Implausible::FreqCode].size(), 42u);
    using Places = std::vector<std::pair<int, int>>;
    EXPECT_EQ(
        found[Implausible::Volume],
        (Places{{1, 54}, {1, 55}, {1, 83}, {1, 84}, {3, 15}, {3, 16}, {3, 25}, {3, 26}, {5, 10}}));
    EXPECT_EQ(found[Implausible::Switch], (Places{{1, 56}}));
    EXPECT_EQ(found[Implausible::Index], (Places{{3, 0}}));
    EXPECT_EQ(found[Implausible::Unused], (Places{{3, 21}, {3, 22}}));
    EXPECT_EQ(found[Implausible::CutOff], (Places{{3, 33}, {3, 37}}));
    EXPECT_EQ(found[Implausible::KHzCutOff], (Places{{3, 35}, {3, 39}}));
}
