#pragma once
// What each byte of the five parameter blocks means. The unit sends its whole state as these
// blocks; the receiver keeps them as two-digit hex texts, and this decoding turns them into
// typed values (gains in dB, Q, band frequencies in Hz, raw slider and selection bytes) that the
// appliers put into the pages. The whole-set download sends the same layouts back.

#include "core/band.h"
#include "link/block_store.h"

#include <QString>
#include <array>
#include <optional>
#include <span>
#include <vector>

namespace korvanex {

// One stored element as a byte, 0..255. An empty element (a reply cut short) reads as 0, and so
// does text that is not two hex digits.
int blockByte(const QString& element);

// Two elements joined as one hex number, high element first. An empty element adds no digits,
// so a pair whose low element is missing reads as the high element alone.
int blockPair(const QString& high, const QString& low);

// Element k of a block, or the pair at k and k + 1; positions past the end read as empty.
int byteAt(std::span<const QString> block, int k);
int pairAt(std::span<const QString> block, int k);

// Gain byte: (byte - 120) / 10 dB; 0..240 give -12.0..+12.0, larger bytes pass through.
float gainOfByte(int byte);
// Q byte: byte / 10.
float qOfByte(int byte);

enum class BlockId { Music, MicA, Effect, MicB, System };

// One equaliser as stored in its block: N gain bytes from S, N Q bytes, then N frequency pairs.
struct EqSectionLayout {
    int graph = 0; // the EQline number of the equaliser: 1..7
    BlockId block = BlockId::Music;
    int start = 0;
    int bands = 0;
};

// The seven equalisers, indexed by graph number - 1 (EQline1 music .. EQline7 microphone B).
extern const std::array<EqSectionLayout, 7> kEqSectionLayouts;
const EqSectionLayout& eqSectionLayout(int graph);

// Bands 0..N-1 of a section, frequencies through the unit's frequency code.
std::vector<Band> decodeEqSection(std::span<const QString> block, int start, int bands);

struct MusicBlockValues {
    std::vector<Band> musicEq;  // bytes 0..39
    int outLimit = 0;           // 40, ctSlide19
    int mainLowCut = 0;         // 41, ctSlide9
    std::vector<Band> mainEq;   // 42..53
    int centreMusicVolume = 0;  // 54, ctSlide10(0)
    int centreMicVolume = 0;    // 55, ctSlide10(1)
    int centreEffect = 0;       // 56, CenterEffectOn
    std::vector<Band> centreEq; // 57..68
    int subLowCut = 0;          // 69, ctSlide12(0)
    int subHighCut = 0;         // 70, ctSlide12(1)
    std::vector<Band> subEq;    // 71..82
    int subVolumeMicClosed = 0; // 83, ctSlide12(3)
    int subVolumeMicOpen = 0;   // 84, ctSlide12(2)
    int subPhase = 0;           // 85, SubPhase
};

// Microphone A and B share one layout.
struct MicBlockValues {
    std::vector<Band> eq; // bytes 0..39
    int lowCut = 0;       // 40
    int highGain = 0;     // 41
};

struct EffectBlockValues {
    int program = 0;              // 0, EffectProgram
    std::vector<Band> eq;         // 1..12
    std::array<int, 8> echo{};    // 13..20, ctSlide6(0..7)
    std::array<int, 10> reverb{}; // 23..32, ctSlide7(0..9); 21 and 22 carry nothing
    int echoLowCut = 0;           // pair 33, ctSlide4
    int echoHighCut = 0;          // pair 35 + 400, ctSlide5
    int reverbLowCut = 0;         // pair 37, ctSlide2
    int reverbHighCut = 0;        // pair 39 + 400, ctSlide3
};

// System bytes in block order; selections stay raw so that the applier can leave an
// out-of-range one alone.
struct SystemBlockValues {
    int musicVolume = 0;       // 0, ctSlide1(0)
    int musicMode = 0;         // 1, Combo1 text
    int musicMaxVolume = 0;    // 2, ctSlide14
    int musicStartVolume = 0;  // 3, ctSlide13
    int startMusicMode = 0;    // 4, Option2
    int micVolume = 0;         // 5, ctSlide1(1)
    int micMode = 0;           // 6, Combo2 and Combo4
    int micMaxVolume = 0;      // 7, ctSlide16
    int micStartVolume = 0;    // 8, ctSlide15
    int startMicMode = 0;      // 9, Option3
    int effectVolume = 0;      // 10, ctSlide1(2)
    int effectProgram = 0;     // 11, Combo3
    int effectMaxVolume = 0;   // 12, ctSlide18
    int effectStartVolume = 0; // 13, ctSlide17
    int startEffectMode = 0;   // 14, Option4
    int mute = 0;              // 15
    int keyLock = 0;           // 16
    int feedback = 0;          // 17, dcButton19
    int inputPort = 0;         // 18, dcButton3
    int exciter = 0;           // 19, ExciterOn
    int eqMode = 0;            // 20, EqModeParametric: 0 graphic, else parametric
    int keyShift = 0;          // 21, Option1
    int saveMode = 0;          // 22, Option5
};

MusicBlockValues decodeMusicBlock(std::span<const QString> block);
MicBlockValues decodeMicBlock(std::span<const QString> block);
EffectBlockValues decodeEffectBlock(std::span<const QString> block);
SystemBlockValues decodeSystemBlock(std::span<const QString> block);

// How many choices each system selection offers; a byte at or above the count selects nothing.
inline constexpr int kMusicModeCount = 6;
inline constexpr int kMicModeCount = 6;
inline constexpr int kEffectProgramCount = 8;
inline constexpr int kFeedbackCount = 4;
inline constexpr int kInputPortCount = 3;
inline constexpr int kKeyShiftCount = 11;
inline constexpr int kSaveModeCount = 2;

// The index a selection byte picks, or nothing when the control has no such choice.
std::optional<int> selectionIndex(int byte, int count);

// The music mode text that system byte 1 writes into Combo1 ("Music1".."Music6").
std::optional<QString> musicModeText(int byte);

} // namespace korvanex
