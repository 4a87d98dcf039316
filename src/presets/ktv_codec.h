#pragma once
// The "*.ktv" parameter file: the tag line "Selvard" and 169 value lines, CR LF after each,
// ASCII. A line's position alone gives its meaning; the layout below lists the lines in file
// order. Pure: bytes in, bytes out, the same in every locale.

#include "core/band.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace korvanex::ktv {

inline constexpr const char* kFileTag = "Selvard";
inline constexpr int kLineCount = 170;
// A bigger file is refused before it is read.
inline constexpr qsizetype kMaxFileBytes = 65536;

inline constexpr int kBandCount = 42;
inline constexpr int kSliderCount = 35;
inline constexpr int kReadoutCount = 5;
inline constexpr int kFieldCount = 3;

// What a file holds, each kind in file order. A band is three lines: gain, Q, frequency.
struct ParameterRecord {
    std::array<Band, kBandCount> bands{};
    std::array<int, kSliderCount> sliders{};
    // Written as they stand; read back but not used by a load, which recomputes them.
    std::array<QString, kReadoutCount> readouts{};
    std::array<int, kFieldCount> fields{};
};

// The file as runs of lines of one kind, in order. Every run of bands is one equaliser.
enum class LineKind : std::uint8_t { Band, Slider, Readout, Field };
struct LineRun {
    LineKind kind;
    int count; // bands, or lines for the other kinds
};
inline constexpr std::array<LineRun, 28> kLayout{{
    {LineKind::Band, 10},   // 2-31     music equaliser
    {LineKind::Slider, 1},  // 32       music output limit
    {LineKind::Readout, 1}, // 33       its read-out
    {LineKind::Slider, 1},  // 34       music low cut
    {LineKind::Band, 3},    // 35-43    main output equaliser
    {LineKind::Slider, 2},  // 44, 45   centre music and microphone volumes
    {LineKind::Field, 1},   // 46       effect into centre
    {LineKind::Band, 3},    // 47-55    centre equaliser
    {LineKind::Slider, 2},  // 56, 57   subwoofer low and high cut
    {LineKind::Band, 3},    // 58-66    subwoofer equaliser
    {LineKind::Slider, 2},  // 67, 68   bass volumes, microphone closed before open
    {LineKind::Field, 1},   // 69       subwoofer phase
    {LineKind::Band, 10},   // 70-99    microphone A equaliser
    {LineKind::Slider, 2},  // 100, 101 microphone A low cut, high-frequency gain
    {LineKind::Band, 3},    // 102-110  effect equaliser
    {LineKind::Slider, 18}, // 111-128  echo group, reverb group
    {LineKind::Slider, 1},  // 129      echo low cut
    {LineKind::Readout, 1}, // 130
    {LineKind::Slider, 1},  // 131      echo high cut
    {LineKind::Readout, 1}, // 132
    {LineKind::Slider, 1},  // 133      reverb low cut
    {LineKind::Readout, 1}, // 134
    {LineKind::Slider, 1},  // 135      reverb high cut
    {LineKind::Readout, 1}, // 136
    {LineKind::Slider, 1},  // 137      effect volume
    {LineKind::Field, 1},   // 138      effect program
    {LineKind::Band, 10},   // 139-168  microphone B equaliser
    {LineKind::Slider, 2},  // 169, 170 microphone B low cut, high-frequency gain
}};

// The values a field line may hold: effect into centre, subwoofer phase and effect program,
// each one byte of the unit's blocks. The program byte is kept as the unit sent it, above the
// eight listed programs too, so a save writes whatever byte came and its load must take it.
inline constexpr std::array<int, kFieldCount> kFieldMaximum{255, 255, 255};

// Band values a load brings into range.
inline constexpr float kGainMin = -12.0f, kGainMax = 12.0f;
inline constexpr float kQMin = 0.3f, kQMax = 15.0f;
inline constexpr float kFreqMin = 20.0f, kFreqMax = 20000.0f;

// The decimal point of the band lines.
enum class DecimalPoint { Dot, Comma };

// The whole file. Band values in general form with at most 7 significant digits (-3.5, 0.7,
// 1234.567), never "-0", a '+' or group separators; sliders and fields as integers.
QByteArray write(const ParameterRecord& record, DecimalPoint point);

enum class Refusal {
    None,
    TooLarge,    // over kMaxFileBytes
    WrongTag,    // line 1 is not exactly "Selvard" (also a file whose lines end in LF only)
    TooFewLines, // fewer than 170 lines
    BadBand,     // not a number, or not finite in single precision
    FieldOutOfRange,
};

struct ReadResult {
    std::optional<ParameterRecord> record; // set exactly when refusal is None
    Refusal refusal = Refusal::None;
    int line = 0; // the refused line, 1-based; 0 for the whole file
};

// Reads and checks the whole file before anything may be applied. Lines end at CR, one LF
// right after it skipped; a last line without CR LF counts; lines after 170 are ignored.
// Band lines: blanks around, sign, digits with '.' or ',' as the decimal point, optional
// exponent; brought into range (gain, Q, frequency). Slider and field lines: their leading
// number ('.' only, 0 when there is none), rounded half to even; a field outside its range
// refuses the file.
ReadResult read(const QByteArray& bytes);

} // namespace korvanex::ktv
