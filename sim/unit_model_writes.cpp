// What the unit's requests write into its blocks, and the record of implausible values.

#include "unit_model.h"

#include <algorithm>

namespace korvanex::sim {

void UnitModel::setByte(int n, int k, std::uint8_t v) {
    live(n)[k] = static_cast<char>(v);
    written_.emplace_back(n, k);
}

// Band bytes as the request carries them: index, Q, gain, frequency code high, low.
void UnitModel::setBand(int n, int start, int bands, QByteArrayView band) {
    const int i = static_cast<std::uint8_t>(band[0]);
    if (i >= bands) {
        return;
    }
    const auto at = [&band](int k) { return static_cast<std::uint8_t>(band[k]); };
    setByte(n, start + bands + i, at(1));
    setByte(n, start + i, at(2));
    setByte(n, start + 2 * bands + 2 * i, at(3));
    setByte(n, start + 2 * bands + 2 * i + 1, at(4));
}

// The equaliser reset returns every gain to 0 dB; frequencies and Q stay.
void UnitModel::flattenGains(int n, int start, int bands) {
    for (int i = 0; i < bands; ++i) {
        setByte(n, start + i, kZeroDbGain);
    }
}

void UnitModel::setBypass(std::uint8_t group, std::uint8_t v) {
    bypass_[group] = v != 0;
    const std::optional<ValueRule> rule = ruleAt(kBypassBlock, group);
    if (rule && !plausible(*rule, v)) {
        implausible_.push_back({kBypassBlock, group, v, rule->kind});
    }
}

void UnitModel::checkWritten() {
    std::vector<std::pair<int, int>> checked; // block, first byte of the value
    for (const auto& [n, k] : written_) {
        const std::optional<ValueRule> rule = ruleAt(n, k);
        if (!rule ||
            std::find(checked.begin(), checked.end(), std::pair(n, rule->start)) != checked.end()) {
            continue;
        }
        checked.emplace_back(n, rule->start);
        const QByteArray& b = live(n);
        int value = 0;
        for (int i = 0; i < rule->width; ++i) {
            value = value * 256 + static_cast<std::uint8_t>(b[rule->start + i]);
        }
        if (!plausible(*rule, value)) {
            implausible_.push_back({n, rule->start, value, rule->kind});
        }
    }
    written_.clear();
}

void UnitModel::applyParameter(std::uint8_t group, std::uint8_t item, QByteArrayView values) {
    if (values.isEmpty()) {
        return;
    }
    applyParameterValues(group, item, values);
    checkWritten();
}

void UnitModel::applyParameterValues(std::uint8_t group, std::uint8_t item, QByteArrayView values) {
    const auto v = static_cast<std::uint8_t>(values[0]);
    const auto word = [&](int n, int k) {
        if (values.size() >= 2) {
            setByte(n, k, v);
            setByte(n, k + 1, static_cast<std::uint8_t>(values[1]));
        }
    };
    const auto bypass = [&] { setBypass(group, v); };
    const bool band = item == 0x01 && values.size() >= 5;
    switch (group) {
    case 0x02: // music
        if (band) {
            setBand(kMusic, 0, 10, values);
        } else if (item == 0x02) {
            setByte(kMusic, 40, v);
        } else if (item == 0x03) {
            setByte(kSystem, 19, v);
        } else if (item == 0x04) {
            flattenGains(kMusic, 0, 10);
        } else if (item == 0x05) {
            bypass();
        } else if (item == 0x06) {
            setByte(kSystem, 0, v);
        }
        break;
    case 0x03: // microphone A
        if (band) {
            setBand(kMicA, 0, 10, values);
        } else if (item == 0x02) {
            setByte(kMicA, 40, v);
        } else if (item == 0x03) {
            setByte(kSystem, 17, v); // feedback
        } else if (item == 0x04) {
            setByte(kMicA, 41, v);
        } else if (item == 0x05) {
            flattenGains(kMicA, 0, 10);
        } else if (item == 0x06) {
            bypass();
        } else if (item == 0x07) {
            setByte(kSystem, 5, v);
        }
        break;
    case 0x0D: // microphone B
        if (band) {
            setBand(kMicB, 0, 10, values);
        } else if (item == 0x02) {
            setByte(kMicB, 40, v);
        } else if (item == 0x03) {
            setByte(kMicB, 41, v);
        } else if (item == 0x04) {
            flattenGains(kMicB, 0, 10);
        } else if (item == 0x05) {
            bypass();
        }
        break;
    case 0x04: // effect
        if (band) {
            setBand(kEffect, 1, 3, values);
        } else if (item >= 0x02 && item <= 0x05) {
            const std::array<int, 4> at = {37, 39, 33, 35}; // reverb low, high; echo low, high
            word(kEffect, at[static_cast<std::size_t>(item - 0x02)]);
        } else if (item >= 0x06 && item <= 0x0D) {
            setByte(kEffect, 13 + item - 0x06, v);
        } else if (item >= 0x0E && item <= 0x17) {
            setByte(kEffect, 23 + item - 0x0E, v);
        } else if (item == 0x18) {
            flattenGains(kEffect, 1, 3);
        } else if (item == 0x19) {
            bypass();
        } else if (item == 0x1A) {
            setByte(kSystem, 10, v);
        }
        break;
    case 0x05: // main output
        if (band) {
            setBand(kMusic, 42, 3, values);
        } else if (item == 0x02) {
            setByte(kMusic, 41, v);
        } else if (item == 0x03) {
            flattenGains(kMusic, 42, 3);
        } else if (item == 0x04) {
            bypass();
        }
        break;
    case 0x06: // centre
        if (band) {
            setBand(kMusic, 57, 3, values);
        } else if (item >= 0x02 && item <= 0x04) {
            setByte(kMusic, 54 + item - 0x02, v);
        } else if (item == 0x05) {
            flattenGains(kMusic, 57, 3);
        } else if (item == 0x06) {
            bypass();
        }
        break;
    case 0x07: // subwoofer
        if (band) {
            setBand(kMusic, 71, 3, values);
        } else if (item >= 0x02 && item <= 0x05) {
            // low cut, high cut, bass with microphones open, bass with them closed
            const std::array<int, 4> at = {69, 70, 84, 83};
            setByte(kMusic, at[static_cast<std::size_t>(item - 0x02)], v);
        } else if (item == 0x06) {
            setByte(kMusic, 85, v);
        } else if (item == 0x07) {
            flattenGains(kMusic, 71, 3);
        } else if (item == 0x08) {
            bypass();
        }
        break;
    case 0x08: // system
    {
        // Items 01..0E: the system byte each one sets; 0F stores the settings in the unit.
        const std::array<int, 14> at = {3, 2, 8, 7, 13, 12, 4, 9, 14, 21, 18, 15, 16, 22};
        if (item >= 0x01 && item <= 0x0E) {
            setByte(kSystem, at[static_cast<std::size_t>(item - 1)], v);
        } else if (item == 0x0F) {
            ++saves_;
        }
        break;
    }
    default:
        break;
    }
}

void UnitModel::applyWholeSet(QByteArrayView values) {
    if (values.size() < 212) {
        return;
    }
    setBlock(kMusic, values.sliced(0, 86));
    setBlock(kMicA, values.sliced(86, 42));
    QByteArray& effect = live(kEffect);
    for (int k = 1; k <= 40; ++k) {
        effect[k] = values[128 + k - 1];
    }
    setBlock(kMicB, values.sliced(168, 42));
    system_[10] = values[210];
    effect[0] = values[211];
    for (int n = kMusic; n <= kMicB; ++n) {
        for (int k = 0; k < kBlockSizes[static_cast<std::size_t>(n - 1)]; ++k) {
            written_.emplace_back(n, k);
        }
    }
    written_.emplace_back(kSystem, 10);
    checkWritten();
}

QByteArray UnitModel::wholeSetBytes() const {
    const QByteArray effect = block(kEffect);
    return block(kMusic) + block(kMicA) + effect.mid(1) + block(kMicB) + system_.mid(10, 1) +
           effect.left(1);
}

} // namespace korvanex::sim
