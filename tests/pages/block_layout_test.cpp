#include "pages/block_layout.h"
#include "pages/block_samples.h"

#include <gtest/gtest.h>

using namespace korvanex;

namespace {

struct BandCase {
    float F, Q, dB;
};

void expectBands(const std::vector<Band>& got, std::initializer_list<BandCase> want,
                 const char* what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    std::size_t i = 0;
    for (const BandCase& w : want) {
        EXPECT_FLOAT_EQ(got[i].F, w.F) << what << " band " << i;
        EXPECT_FLOAT_EQ(got[i].Q, w.Q) << what << " band " << i;
        EXPECT_FLOAT_EQ(got[i].dB, w.dB) << what << " band " << i;
        ++i;
    }
}

} // namespace

// Catches: a swapped gain/Q/frequency area, a frequency pair read low byte first, or a
// 3-band section laid out with the 10-band stride.
TEST(MusicBlockLayout, EverySectionAndFieldFromItsOwnBytes) {
    const auto s = block_samples::sampleBlocks();
    const MusicBlockValues v = decodeMusicBlock(s.MusicBlock);
    expectBands(v.musicEq,
                {{51, 0.1f, -12.0f},
                 {100, 0.5f, -9.0f},
                 {152, 0.7f, -6.0f},
                 {503, 1.0f, -3.0f},
                 {1001, 1.4f, -0.5f},
                 {1400, 2.0f, 0.5f},
                 {2980, 3.3f, 3.0f},
                 {4000, 5.0f, 6.0f},
                 {10000, 9.9f, 9.0f},
                 {20000, 15.0f, 12.0f}},
                "music");
    expectBands(v.mainEq, {{150, 0.8f, -2.0f}, {1780, 1.2f, 2.0f}, {11450, 2.5f, 8.0f}}, "main");
    expectBands(v.centreEq, {{70, 0.6f, -2.5f}, {935, 2.2f, 0.1f}, {7450, 4.1f, 6.5f}}, "centre");
    expectBands(v.subEq, {{30, 0.9f, -4.3f}, {149, 1.7f, 1.3f}, {498, 3.6f, 10.2f}}, "sub");
    EXPECT_EQ(v.outLimit, 4);
    EXPECT_EQ(v.mainLowCut, 131);
    EXPECT_EQ(v.centreMusicVolume, 66);
    EXPECT_EQ(v.centreMicVolume, 44);
    EXPECT_EQ(v.centreEffect, 71);
    EXPECT_EQ(v.subLowCut, 130);
    EXPECT_EQ(v.subHighCut, 255);
    // Byte 83 is the bass volume with the microphone closed, 84 with it open.
    EXPECT_EQ(v.subVolumeMicClosed, 23);
    EXPECT_EQ(v.subVolumeMicOpen, 57);
    EXPECT_EQ(v.subPhase, 255);
}

// Catches: microphone B decoded from microphone A's store or the two tail bytes swapped.
TEST(MicBlockLayout, BothMicrophonesShareOneLayout) {
    const auto s = block_samples::sampleBlocks();
    const MicBlockValues a = decodeMicBlock(s.MicABlock);
    const MicBlockValues b = decodeMicBlock(s.MicBBlock);
    ASSERT_EQ(a.eq.size(), 10u);
    EXPECT_FLOAT_EQ(a.eq[0].F, 21);
    EXPECT_FLOAT_EQ(a.eq[3].F, 400);
    EXPECT_FLOAT_EQ(a.eq[9].F, 13500);
    EXPECT_FLOAT_EQ(a.eq[9].Q, 2.7f);
    EXPECT_FLOAT_EQ(a.eq[0].dB, -11.5f);
    EXPECT_EQ(a.lowCut, 155);
    EXPECT_EQ(a.highGain, 3);
    ASSERT_EQ(b.eq.size(), 10u);
    EXPECT_FLOAT_EQ(b.eq[0].dB, 11.5f);
    EXPECT_FLOAT_EQ(b.eq[0].Q, 14.0f);
    EXPECT_FLOAT_EQ(b.eq[0].F, 23);
    EXPECT_FLOAT_EQ(b.eq[6].F, 2580);
    EXPECT_FLOAT_EQ(b.eq[9].F, 15450);
    EXPECT_EQ(b.lowCut, 77);
    EXPECT_EQ(b.highGain, 2);
}

// Catches: the effect section started at byte 0, the skipped bytes 21/22 read as reverb, the
// high cuts missing their 400 offset, or a cut pair read as one byte.
TEST(EffectBlockLayout, ProgramSectionGroupsAndCutPairs) {
    const auto s = block_samples::sampleBlocks();
    const EffectBlockValues v = decodeEffectBlock(s.EffectBlock);
    EXPECT_EQ(v.program, 5);
    expectBands(v.eq, {{290, 0.3f, -1.0f}, {2180, 1.5f, 0.7f}, {16450, 7.0f, 5.0f}}, "effect");
    EXPECT_EQ(v.echo, (std::array<int, 8>{9, 3, 72, 17, 55, 101, 66, 127}));
    EXPECT_EQ(v.reverb, (std::array<int, 10>{12, 7, 33, 44, 45, 0, 60, 39, 88, 91}));
    EXPECT_EQ(v.echoLowCut, 306);
    EXPECT_EQ(v.echoHighCut, 1800);
    EXPECT_EQ(v.reverbLowCut, 131);
    EXPECT_EQ(v.reverbHighCut, 455);
}

// Catches: any off-by-one in the long run of system bytes (each sample byte differs from its
// neighbours).
TEST(SystemBlockLayout, TwentyThreeBytesInOrder) {
    const auto s = block_samples::sampleBlocks();
    const SystemBlockValues v = decodeSystemBlock(s.SystemBlock);
    const int got[] = {
        v.musicVolume,  v.musicMode,     v.musicMaxVolume,  v.musicStartVolume,  v.startMusicMode,
        v.micVolume,    v.micMode,       v.micMaxVolume,    v.micStartVolume,    v.startMicMode,
        v.effectVolume, v.effectProgram, v.effectMaxVolume, v.effectStartVolume, v.startEffectMode,
        v.mute,         v.keyLock,       v.feedback,        v.inputPort,         v.exciter,
        v.eqMode,       v.keyShift,      v.saveMode};
    const auto want = block_samples::systemBytes();
    ASSERT_EQ(want.size(), std::size(got));
    for (std::size_t k = 0; k < want.size(); ++k) {
        EXPECT_EQ(got[k], want[k]) << "system byte " << k;
    }
}

// Catches: the section table disagreeing with the block decoders (a graph fed another
// equaliser's bands).
TEST(EqSectionTable, MatchesTheBlockDecoders) {
    const auto s = block_samples::sampleBlocks();
    const auto music = decodeMusicBlock(s.MusicBlock);
    const auto effect = decodeEffectBlock(s.EffectBlock);
    const auto micA = decodeMicBlock(s.MicABlock);
    const auto micB = decodeMicBlock(s.MicBBlock);
    const std::vector<Band>* expected[7] = {&music.musicEq, &micA.eq,        &effect.eq,
                                            &music.mainEq,  &music.centreEq, &music.subEq,
                                            &micB.eq};
    for (int graph = 1; graph <= 7; ++graph) {
        const EqSectionLayout& sec = eqSectionLayout(graph);
        EXPECT_EQ(sec.graph, graph);
        std::span<const QString> block;
        switch (sec.block) {
        case BlockId::Music:
            block = s.MusicBlock;
            break;
        case BlockId::MicA:
            block = s.MicABlock;
            break;
        case BlockId::Effect:
            block = s.EffectBlock;
            break;
        case BlockId::MicB:
            block = s.MicBBlock;
            break;
        case BlockId::System:
            FAIL() << "no equaliser in the system block";
        }
        const auto bands = decodeEqSection(block, sec.start, sec.bands);
        const auto& want = *expected[graph - 1];
        ASSERT_EQ(bands.size(), want.size()) << "EQline" << graph;
        for (std::size_t i = 0; i < bands.size(); ++i) {
            EXPECT_FLOAT_EQ(bands[i].F, want[i].F) << "EQline" << graph << " band " << i;
            EXPECT_FLOAT_EQ(bands[i].dB, want[i].dB) << "EQline" << graph << " band " << i;
        }
    }
}

// Catches: a short reply crashing the decoder or leaving garbage instead of 0 (Q 0.0, 20 Hz,
// -12 dB), and a pair with its low element missing read as anything but its high element.
TEST(ShortBlocks, MissingElementsReadAsZero) {
    link::BlockStore s;
    auto bytes = block_samples::musicBytes();
    bytes.resize(10);
    block_samples::fill(s.MusicBlock, bytes);
    const MusicBlockValues v = decodeMusicBlock(s.MusicBlock);
    EXPECT_FLOAT_EQ(v.musicEq[9].dB, 12.0f);
    for (const Band& b : v.musicEq) {
        EXPECT_FLOAT_EQ(b.Q, 0.0f);
        EXPECT_FLOAT_EQ(b.F, 20.0f);
    }
    for (const auto* sec : {&v.mainEq, &v.centreEq, &v.subEq}) {
        for (const Band& b : *sec) {
            EXPECT_FLOAT_EQ(b.dB, -12.0f);
            EXPECT_FLOAT_EQ(b.Q, 0.0f);
            EXPECT_FLOAT_EQ(b.F, 20.0f);
        }
    }
    EXPECT_EQ(v.outLimit, 0);
    EXPECT_EQ(v.subHighCut, 0);
    EXPECT_EQ(v.subPhase, 0);

    EXPECT_EQ(blockPair(QStringLiteral("01"), QString()), 1);
    EXPECT_EQ(blockPair(QString(), QStringLiteral("D8")), 0xD8);
    EXPECT_EQ(blockPair(QStringLiteral("01"), QStringLiteral("D8")), 472);
    // A span shorter than the layout is read as if the rest were empty.
    const std::array<QString, 2> tiny{QStringLiteral("0B"), QStringLiteral("27")};
    EXPECT_EQ(pairAt(tiny, 0), 2855);
    EXPECT_EQ(pairAt(tiny, 1), 0x27);
    EXPECT_EQ(byteAt(tiny, 40), 0);
}

// Catches: codes above the scale wrapping or overflowing, gains above 240 clamped, and a
// malformed element lending its digits to a pair.
TEST(EdgeBytes, OutOfScaleValuesPassAsTheRulesSay) {
    std::array<QString, 12> sec;
    // Three bands: gains 241, 255, 0; Qs 0, 255, 1; codes 0B28, FFFF, 0B27.
    const int bytes[12] = {241, 255, 0, 0, 255, 1, 0x0B, 0x28, 0xFF, 0xFF, 0x0B, 0x27};
    for (int k = 0; k < 12; ++k) {
        sec[std::size_t(k)] = block_samples::hexByte(bytes[k]);
    }
    const auto bands = decodeEqSection(sec, 0, 3);
    EXPECT_FLOAT_EQ(bands[0].dB, 12.1f);
    EXPECT_FLOAT_EQ(bands[1].dB, 13.5f);
    EXPECT_FLOAT_EQ(bands[0].Q, 0.0f);
    EXPECT_FLOAT_EQ(bands[1].Q, 25.5f);
    EXPECT_FLOAT_EQ(bands[0].F, 20000.0f);
    EXPECT_FLOAT_EQ(bands[1].F, 20000.0f);
    EXPECT_FLOAT_EQ(bands[2].F, 20000.0f);

    EXPECT_EQ(blockByte(QStringLiteral("FF")), 255);
    EXPECT_EQ(blockByte(QStringLiteral("ff")), 255);
    EXPECT_EQ(blockByte(QStringLiteral("G1")), 0);
    EXPECT_EQ(blockByte(QStringLiteral("123")), 0);
    EXPECT_EQ(blockPair(QStringLiteral("zz"), QStringLiteral("05")), 5);
}

// Catches: a selection byte one past the last choice accepted (the control would select
// nothing or crash), and the music mode text written in the list's upper case.
TEST(Selections, OnlyExistingChoicesAreSelected) {
    EXPECT_EQ(selectionIndex(0, kMusicModeCount), 0);
    EXPECT_EQ(selectionIndex(5, kMusicModeCount), 5);
    EXPECT_FALSE(selectionIndex(6, kMusicModeCount));
    EXPECT_FALSE(selectionIndex(-1, kMusicModeCount));
    EXPECT_EQ(selectionIndex(10, kKeyShiftCount), 10);
    EXPECT_FALSE(selectionIndex(11, kKeyShiftCount));
    EXPECT_FALSE(selectionIndex(2, kSaveModeCount));
    EXPECT_EQ(musicModeText(0), QStringLiteral("Music1"));
    EXPECT_EQ(musicModeText(5), QStringLiteral("Music6"));
    EXPECT_FALSE(musicModeText(6));
}
