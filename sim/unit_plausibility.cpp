#include "unit_plausibility.h"

#include "unit_model.h"

#include <array>
#include <vector>

namespace korvanex::sim {

namespace {

// `count` values of `width` bytes from `first` on, all under one rule.
struct RuleSpan {
    int block;
    int first;
    int count;
    int width;
    Implausible kind;
    int low;
    int high;
};

constexpr int kMusic = UnitModel::kMusic;
constexpr int kMicA = UnitModel::kMicA;
constexpr int kEffect = UnitModel::kEffect;
constexpr int kMicB = UnitModel::kMicB;
constexpr int kSystem = UnitModel::kSystem;

void addSection(std::vector<RuleSpan>& spans, int block, int start, int bands) {
    spans.push_back({block, start, bands, 1, Implausible::Gain, 0, 240});
    spans.push_back({block, start + bands, bands, 1, Implausible::Q, 3, 150});
    spans.push_back({block, start + 2 * bands, bands, 2, Implausible::FreqCode, 0, 2855});
}

std::vector<RuleSpan> makeSpans() {
    std::vector<RuleSpan> s;
    addSection(s, kMusic, 0, 10);
    addSection(s, kMusic, 42, 3);
    addSection(s, kMusic, 57, 3);
    addSection(s, kMusic, 71, 3);
    addSection(s, kMicA, 0, 10);
    addSection(s, kMicB, 0, 10);
    addSection(s, kEffect, 1, 3);
    const auto one = [&s](int block, int byte, Implausible kind, int low, int high) {
        s.push_back({block, byte, 1, 1, kind, low, high});
    };
    for (const int byte : {54, 55, 83, 84}) {
        one(kMusic, byte, Implausible::Volume, 0, 80);
    }
    one(kMusic, 56, Implausible::Switch, 0, 71);
    one(kMusic, 85, Implausible::Switch, 0, 255);
    one(kEffect, 0, Implausible::Index, 0, 7);
    // Echo A and B, echo and reverb volumes of the two effect groups.
    for (const int byte : {15, 16, 25, 26}) {
        one(kEffect, byte, Implausible::Volume, 0, 80);
    }
    s.push_back({kEffect, 21, 2, 1, Implausible::Unused, 0, 0});
    s.push_back({kEffect, 33, 1, 2, Implausible::CutOff, 0, 472});
    s.push_back({kEffect, 35, 1, 2, Implausible::KHzCutOff, 0, 1400});
    s.push_back({kEffect, 37, 1, 2, Implausible::CutOff, 0, 472});
    s.push_back({kEffect, 39, 1, 2, Implausible::KHzCutOff, 0, 1400});
    for (const int byte : {0, 2, 3, 5, 7, 8, 10, 12, 13}) {
        one(kSystem, byte, Implausible::Volume, 0, 80);
    }
    // Power-on modes, feedback, input port, key shift, save mode: the last index of each list.
    const std::array<std::array<int, 2>, 7> lists = {
        {{4, 5}, {9, 5}, {14, 7}, {17, 3}, {18, 2}, {21, 10}, {22, 1}}};
    for (const auto& [byte, last] : lists) {
        one(kSystem, byte, Implausible::Index, 0, last);
    }
    for (const int byte : {15, 16, 19}) {
        one(kSystem, byte, Implausible::Switch, 0, 255);
    }
    s.push_back({kBypassBlock, 0, 0x0E, 1, Implausible::Switch, 0, 255});
    return s;
}

} // namespace

std::optional<ValueRule> ruleAt(int block, int byte) {
    static const std::vector<RuleSpan> spans = makeSpans();
    for (const RuleSpan& s : spans) {
        if (s.block == block && byte >= s.first && byte < s.first + s.count * s.width) {
            const int start = s.first + (byte - s.first) / s.width * s.width;
            return ValueRule{s.kind, start, s.width, s.low, s.high};
        }
    }
    return std::nullopt;
}

bool plausible(const ValueRule& rule, int value) {
    if (rule.kind == Implausible::Switch) {
        return value == 0 || value == rule.high;
    }
    return value >= rule.low && value <= rule.high;
}

} // namespace korvanex::sim
