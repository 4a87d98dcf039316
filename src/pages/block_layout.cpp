#include "pages/block_layout.h"

#include "link/freq_code.h"

#include <cassert>
#include <cstdint>

namespace korvanex {

namespace {

int hexValue(const QString& text) {
    if (text.isEmpty()) {
        return 0;
    }
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    return ok ? static_cast<int>(value) : 0;
}

// An element as the digits it contributes: a proper byte text, or nothing. A malformed element
// counts as missing rather than lending odd digits to its pair.
QString byteText(const QString& element) {
    if (element.size() > 2) {
        return {};
    }
    bool ok = false;
    element.toUInt(&ok, 16);
    return ok ? element : QString();
}

QString elementAt(std::span<const QString> block, int k) {
    if (k < 0 || static_cast<std::size_t>(k) >= block.size()) {
        return {};
    }
    return block[static_cast<std::size_t>(k)];
}

} // namespace

int blockByte(const QString& element) {
    return hexValue(byteText(element));
}

int blockPair(const QString& high, const QString& low) {
    return hexValue(byteText(high) + byteText(low));
}

int byteAt(std::span<const QString> block, int k) {
    return blockByte(elementAt(block, k));
}

int pairAt(std::span<const QString> block, int k) {
    return blockPair(elementAt(block, k), elementAt(block, k + 1));
}

float gainOfByte(int byte) {
    return static_cast<float>(byte - 120) / 10.0f;
}

float qOfByte(int byte) {
    return static_cast<float>(byte) / 10.0f;
}

const std::array<EqSectionLayout, 7> kEqSectionLayouts{{
    {1, BlockId::Music, 0, 10},
    {2, BlockId::MicA, 0, 10},
    {3, BlockId::Effect, 1, 3},
    {4, BlockId::Music, 42, 3},
    {5, BlockId::Music, 57, 3},
    {6, BlockId::Music, 71, 3},
    {7, BlockId::MicB, 0, 10},
}};

const EqSectionLayout& eqSectionLayout(int graph) {
    assert(graph >= 1 && graph <= 7);
    return kEqSectionLayouts[static_cast<std::size_t>(graph - 1)];
}

std::vector<Band> decodeEqSection(std::span<const QString> block, int start, int bands) {
    std::vector<Band> out(static_cast<std::size_t>(bands));
    for (int i = 0; i < bands; ++i) {
        Band& band = out[static_cast<std::size_t>(i)];
        band.dB = gainOfByte(byteAt(block, start + i));
        band.Q = qOfByte(byteAt(block, start + bands + i));
        const int at = start + 2 * bands + 2 * i;
        std::int16_t BandFreqHz = 0;
        link::CodeToFreq(BandFreqHz,
                         byteText(elementAt(block, at)) + byteText(elementAt(block, at + 1)));
        band.F = static_cast<float>(BandFreqHz);
    }
    return out;
}

namespace {

// The bands of equaliser `graph`, at the place the section table gives it in its block.
std::vector<Band> sectionBands(std::span<const QString> block, int graph) {
    const EqSectionLayout& section = eqSectionLayout(graph);
    return decodeEqSection(block, section.start, section.bands);
}

} // namespace

MusicBlockValues decodeMusicBlock(std::span<const QString> block) {
    MusicBlockValues v;
    v.musicEq = sectionBands(block, 1);
    v.outLimit = byteAt(block, 40);
    v.mainLowCut = byteAt(block, 41);
    v.mainEq = sectionBands(block, 4);
    v.centreMusicVolume = byteAt(block, 54);
    v.centreMicVolume = byteAt(block, 55);
    v.centreEffect = byteAt(block, 56);
    v.centreEq = sectionBands(block, 5);
    v.subLowCut = byteAt(block, 69);
    v.subHighCut = byteAt(block, 70);
    v.subEq = sectionBands(block, 6);
    v.subVolumeMicClosed = byteAt(block, 83);
    v.subVolumeMicOpen = byteAt(block, 84);
    v.subPhase = byteAt(block, 85);
    return v;
}

MicBlockValues decodeMicBlock(std::span<const QString> block) {
    MicBlockValues v;
    v.eq = sectionBands(block, 2); // microphone B's section sits at the same place
    v.lowCut = byteAt(block, 40);
    v.highGain = byteAt(block, 41);
    return v;
}

EffectBlockValues decodeEffectBlock(std::span<const QString> block) {
    EffectBlockValues v;
    v.program = byteAt(block, 0);
    v.eq = sectionBands(block, 3);
    for (int i = 0; i < 8; ++i) {
        v.echo[static_cast<std::size_t>(i)] = byteAt(block, 13 + i);
    }
    for (int i = 0; i < 10; ++i) {
        v.reverb[static_cast<std::size_t>(i)] = byteAt(block, 23 + i);
    }
    v.echoLowCut = pairAt(block, 33);
    v.echoHighCut = pairAt(block, 35) + 400;
    v.reverbLowCut = pairAt(block, 37);
    v.reverbHighCut = pairAt(block, 39) + 400;
    return v;
}

SystemBlockValues decodeSystemBlock(std::span<const QString> block) {
    SystemBlockValues v;
    int k = 0;
    for (int* field :
         {&v.musicVolume,     &v.musicMode,         &v.musicMaxVolume,  &v.musicStartVolume,
          &v.startMusicMode,  &v.micVolume,         &v.micMode,         &v.micMaxVolume,
          &v.micStartVolume,  &v.startMicMode,      &v.effectVolume,    &v.effectProgram,
          &v.effectMaxVolume, &v.effectStartVolume, &v.startEffectMode, &v.mute,
          &v.keyLock,         &v.feedback,          &v.inputPort,       &v.exciter,
          &v.eqMode,          &v.keyShift,          &v.saveMode}) {
        *field = byteAt(block, k++);
    }
    return v;
}

std::optional<int> selectionIndex(int byte, int count) {
    if (byte < 0 || byte >= count) {
        return std::nullopt;
    }
    return byte;
}

std::optional<QString> musicModeText(int byte) {
    const auto index = selectionIndex(byte, kMusicModeCount);
    if (!index) {
        return std::nullopt;
    }
    return QStringLiteral("Music%1").arg(*index + 1);
}

} // namespace korvanex
