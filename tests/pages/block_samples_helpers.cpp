#include "pages/block_samples.h"

#include <cassert>
#include <initializer_list>

namespace korvanex::block_samples {

namespace {

// One equaliser section: gains, Qs, then each frequency code high byte first.
void putSection(std::vector<int>& bytes, int start, std::initializer_list<int> gains,
                std::initializer_list<int> qs, std::initializer_list<int> codes) {
    const int n = int(gains.size());
    assert(int(qs.size()) == n && int(codes.size()) == n);
    int i = 0;
    for (int g : gains) {
        bytes[std::size_t(start + i++)] = g;
    }
    i = 0;
    for (int q : qs) {
        bytes[std::size_t(start + n + i++)] = q;
    }
    i = 0;
    for (int c : codes) {
        bytes[std::size_t(start + 2 * n + 2 * i)] = c >> 8;
        bytes[std::size_t(start + 2 * n + 2 * i + 1)] = c & 0xFF;
        ++i;
    }
}

void putPair(std::vector<int>& bytes, int at, int value) {
    bytes[std::size_t(at)] = value >> 8;
    bytes[std::size_t(at + 1)] = value & 0xFF;
}

} // namespace

QString hexByte(int byte) {
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

void fill(std::span<QString> store, const std::vector<int>& bytes) {
    for (std::size_t k = 0; k < store.size(); ++k) {
        store[k] = k < bytes.size() ? hexByte(bytes[k]) : QString();
    }
}

std::vector<int> musicBytes() {
    std::vector<int> b(86, 0);
    putSection(b, 0, {0, 30, 60, 90, 115, 125, 150, 180, 210, 240},
               {1, 5, 7, 10, 14, 20, 33, 50, 99, 150},
               {31, 80, 131, 306, 472, 605, 1000, 1255, 1855, 2855});
    b[40] = 4;   // output limit
    b[41] = 131; // main low cut
    putSection(b, 42, {100, 140, 200}, {8, 12, 25}, {130, 700, 2000});
    b[54] = 66; // centre music volume
    b[55] = 44; // centre microphone volume
    b[56] = 71; // effect into centre
    putSection(b, 57, {95, 121, 185}, {6, 22, 41}, {50, 450, 1600});
    b[69] = 130; // subwoofer low cut
    b[70] = 255; // subwoofer high cut
    putSection(b, 71, {77, 133, 222}, {9, 17, 36}, {10, 129, 304});
    b[83] = 23; // bass volume, microphone closed
    b[84] = 57; // bass volume, microphone open
    b[85] = 255;
    return b;
}

std::vector<int> micABytes() {
    std::vector<int> b(42, 0);
    putSection(b, 0, {5, 25, 45, 65, 85, 105, 125, 145, 165, 185},
               {2, 4, 6, 8, 11, 13, 16, 19, 23, 27},
               {1, 61, 151, 255, 355, 505, 755, 1105, 1505, 2205});
    b[40] = 155;
    b[41] = 3;
    return b;
}

std::vector<int> micBBytes() {
    std::vector<int> b(42, 0);
    putSection(b, 0, {235, 215, 195, 175, 155, 135, 112, 92, 72, 52},
               {140, 120, 100, 80, 60, 45, 35, 26, 18, 12},
               {3, 90, 170, 290, 400, 520, 900, 1300, 1700, 2400});
    b[40] = 77;
    b[41] = 2;
    return b;
}

std::vector<int> effectBytes() {
    std::vector<int> b(41, 0);
    b[0] = 5; // EFF2
    putSection(b, 1, {110, 127, 170}, {3, 15, 70}, {200, 800, 2500});
    const int echo[8] = {9, 3, 72, 17, 55, 101, 66, 127};
    for (int i = 0; i < 8; ++i) {
        b[std::size_t(13 + i)] = echo[i];
    }
    b[21] = 0xEE; // carries nothing
    b[22] = 0xDD;
    const int reverb[10] = {12, 7, 33, 44, 45, 0, 60, 39, 88, 91};
    for (int i = 0; i < 10; ++i) {
        b[std::size_t(23 + i)] = reverb[i];
    }
    putPair(b, 33, 306);  // echo low cut: 503 Hz
    putPair(b, 35, 1400); // echo high cut: 1800
    putPair(b, 37, 131);  // reverb low cut: 152 Hz
    putPair(b, 39, 55);   // reverb high cut: 455
    return b;
}

std::vector<int> systemBytes() {
    return {61, 4, 78, 29, 3, 47, 2, 75, 21, 5, 39, 6, 70, 13, 7, 1, 0, 2, 1, 255, 1, 8, 1};
}

link::BlockStore sampleBlocks() {
    link::BlockStore s;
    fill(s.MusicBlock, musicBytes());
    fill(s.MicABlock, micABytes());
    fill(s.EffectBlock, effectBytes());
    fill(s.MicBBlock, micBBytes());
    fill(s.SystemBlock, systemBytes());
    return s;
}

} // namespace korvanex::block_samples
