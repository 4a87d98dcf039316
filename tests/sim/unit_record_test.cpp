#include "frame_helpers.h"
#include "sim/unit_peer.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace korvanex::sim;
using namespace korvanex::sim::testing;

namespace {

std::vector<ImplausibleValue> recordAfter(const QByteArray& frame) {
    UnitPeer peer;
    peer.receive(frame);
    EXPECT_EQ(peer.countOf(RequestKind::Parameter) + peer.countOf(RequestKind::WholeSet), 1)
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

// Catches: a whole set checked only in part (or not at all), the unused effect bytes let
// through, and the unit's own plausible state reported.
TEST(UnitRecord, ImplausibleWholeSetValuesAreNoted) {
    const QByteArray plausible = UnitModel().wholeSetBytes();
    EXPECT_TRUE(recordAfter(wholeSetFrame(plausible)).empty());

    QByteArray values = plausible;
    values[148] = 1;  // effect byte 21
    values[149] = 2;  // effect byte 22
    values[211] = 8;  // effect program past KTV1..EFF4
    values[200] = 3;  // microphone B band 6 frequency code 03 F3: still plausible
    values[0] = -1;   // music band 0 gain 255
    values[209] = 4;  // microphone B high-frequency gain: no rule
    values[210] = 81; // effect volume
    const std::vector<ImplausibleValue> expected = {{1, 0, 255, Implausible::Gain},
                                                    {3, 0, 8, Implausible::Index},
                                                    {3, 21, 1, Implausible::Unused},
                                                    {3, 22, 2, Implausible::Unused},
                                                    {5, 10, 81, Implausible::Volume}};
    std::vector<ImplausibleValue> record = recordAfter(wholeSetFrame(values));
    std::sort(record.begin(), record.end(), [](const auto& a, const auto& b) {
        return std::pair(a.block, a.byte) < std::pair(b.block, b.byte);
    });
    EXPECT_EQ(record, expected);
}
