#include "unit_model.h"

namespace korvanex::sim {

namespace {

constexpr std::uint8_t kZeroDb = UnitModel::kZeroDbGain;
constexpr int kMusic = UnitModel::kMusic;
constexpr int kMicB = UnitModel::kMicB;
constexpr int kSystem = UnitModel::kSystem;

// Frequency codes of the factory bands: 31, 63, 125, 250, 500, 1001, 2000, 4000, 8000 and
// 16000 Hz on the ten-band equalisers; 100, 1001, 10000 Hz (40, 63, 100 Hz on the subwoofer).
constexpr std::array<int, 10> kTenBandCodes = {11, 43, 105, 180, 305, 472, 755, 1255, 1655, 2455};
constexpr std::array<int, 3> kThreeBandCodes = {80, 472, 1855};
constexpr std::array<int, 3> kSubBandCodes = {20, 43, 80};

void putSection(QByteArray& block, int start, int bands, const int* codes, int shift) {
    for (int i = 0; i < bands; ++i) {
        // A preset's gains lean a little up or down, so that recalls are told apart.
        const int gain = kZeroDb + ((shift * 7 + i * 3) % 11 - 5) * (shift == 0 ? 0 : 4);
        block[start + i] = static_cast<char>(gain);
        block[start + bands + i] = static_cast<char>(shift == 0 ? 10 : 7 + shift);
        block[start + 2 * bands + 2 * i] = static_cast<char>(codes[i] >> 8);
        block[start + 2 * bands + 2 * i + 1] = static_cast<char>(codes[i] & 0xFF);
    }
}

QByteArray musicPreset(int p) {
    QByteArray b(86, '\0');
    putSection(b, 0, 10, kTenBandCodes.data(), p);
    b[40] = 3; // output limit 1.2 V
    b[41] = 0; // music low cut 20 Hz
    putSection(b, 42, 3, kThreeBandCodes.data(), p);
    b[54] = static_cast<char>(60 + p);
    b[55] = 60;
    b[56] = 0; // effect into the centre off
    putSection(b, 57, 3, kThreeBandCodes.data(), p);
    b[69] = 20;                         // subwoofer low cut 40 Hz
    b[70] = static_cast<char>(130 + p); // subwoofer high cut 150 Hz and up
    putSection(b, 71, 3, kSubBandCodes.data(), p);
    b[83] = 60;
    b[84] = 50;
    b[85] = 0;
    return b;
}

QByteArray micPreset(int p) {
    QByteArray b(42, '\0');
    putSection(b, 0, 10, kTenBandCodes.data(), p);
    b[40] = static_cast<char>(80 + p); // low cut 100 Hz and up
    b[41] = static_cast<char>(p % 4);
    return b;
}

QByteArray effectPreset(int p) {
    QByteArray b(41, '\0');
    b[0] = static_cast<char>(p); // the preset is the effect program
    putSection(b, 1, 3, kThreeBandCodes.data(), p);
    const std::array<int, 8> echo = {8, 6, 60, 50, 70, 20, 50, 40};
    for (int i = 0; i < 8; ++i) {
        b[13 + i] = static_cast<char>(echo[static_cast<std::size_t>(i)] + (i < 2 ? 0 : p));
    }
    const std::array<int, 10> reverb = {6, 5, 50, 50, 20, 25, 30, 10, 60, 60};
    for (int i = 0; i < 10; ++i) {
        b[23 + i] = static_cast<char>(reverb[static_cast<std::size_t>(i)] + (i < 2 ? 0 : p));
    }
    b[33] = 0; // echo low cut: code 80, 100 Hz
    b[34] = 80;
    b[35] = 0x02; // echo high cut: 600 above 4 kHz, 10 kHz
    b[36] = 0x58;
    b[37] = 0; // reverb low cut: code 131, 152 Hz
    b[38] = static_cast<char>(131);
    b[39] = 0x03; // reverb high cut: 800 above 4 kHz, 12 kHz
    b[40] = 0x20;
    return b;
}

QByteArray factorySystem() {
    const std::array<int, 23> bytes = {50, 0,  80, 40, 0, 50, 0, 80, 40, 0, 50, 0,
                                       80, 40, 0,  0,  0, 0,  0, 0,  1,  5, 0};
    QByteArray b(23, '\0');
    for (int i = 0; i < 23; ++i) {
        b[i] = static_cast<char>(bytes[static_cast<std::size_t>(i)]);
    }
    return b;
}

// Music, microphone A, effect, microphone B for block numbers 1..4; -1 otherwise.
int sectionOfBlock(int n) {
    return n >= kMusic && n <= kMicB ? n - 1 : -1;
}

} // namespace

UnitModel::UnitModel() : system_(factorySystem()) {
    for (int p = 0; p < kPresetCounts[0]; ++p) {
        banks_[0].push_back(musicPreset(p));
    }
    for (int p = 0; p < kPresetCounts[1]; ++p) {
        banks_[1].push_back(micPreset(p));
    }
    for (int p = 0; p < kPresetCounts[2]; ++p) {
        banks_[2].push_back(effectPreset(p));
    }
    for (int p = 0; p < kPresetCounts[3]; ++p) {
        banks_[3].push_back(micPreset(p + 3));
    }
}

QByteArray UnitModel::block(int n) const {
    const int section = sectionOfBlock(n);
    if (section >= 0) {
        const auto s = static_cast<std::size_t>(section);
        return banks_[s][static_cast<std::size_t>(current_[s])];
    }
    return n == kSystem ? system_ : QByteArray();
}

void UnitModel::setBlock(int n, QByteArrayView bytes) {
    if (n < kMusic || n > kSystem) {
        return;
    }
    QByteArray& b = live(n);
    for (qsizetype k = 0; k < b.size() && k < bytes.size(); ++k) {
        b[k] = bytes[k];
    }
}

QByteArray& UnitModel::live(int n) {
    const int section = sectionOfBlock(n);
    if (section < 0) {
        return system_;
    }
    const auto s = static_cast<std::size_t>(section);
    return banks_[s][static_cast<std::size_t>(current_[s])];
}

QByteArray UnitModel::read(int recallMode, int preset, int n) {
    const int section = sectionOfBlock(n);
    if (section >= 0 && recallMode == 9 + section && preset >= 0 &&
        preset < kPresetCounts[static_cast<std::size_t>(section)]) {
        current_[static_cast<std::size_t>(section)] = preset;
        // The system block follows the mode a recall selects.
        const std::array<int, 4> modeByte = {1, 6, 11, -1};
        if (modeByte[static_cast<std::size_t>(section)] >= 0) {
            system_[modeByte[static_cast<std::size_t>(section)]] = static_cast<char>(preset);
        }
    }
    return block(n);
}

bool UnitModel::bypassed(std::uint8_t group) const {
    return group < bypass_.size() && bypass_[group];
}

} // namespace korvanex::sim
