#pragma once
// The unit's parameters, held as the five blocks it sends on a block read: music (86 bytes,
// with the main output, centre and subwoofer), microphone A (42), effect (41), microphone B
// (42) and system (23). The music, microphone A, effect and microphone B sections each have a
// bank of presets (6, 6, 8, 6); the section's live block is its current preset, so an edit is
// kept with that preset and a recall of another preset switches to it. Every acknowledged
// request writes the bytes of the block that hold its value, so a later read returns it. A
// stored value that no control of the editor can produce is also noted in a record.

#include "unit_plausibility.h"

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>
#include <vector>

namespace korvanex::sim {

// A value the unit stored although it is out of its plausible range.
struct ImplausibleValue {
    int block; // 1..5, or kBypassBlock
    int byte;  // the value's first byte in its block (for a bypass: the group)
    int value; // a word's value for the two-byte ones
    Implausible kind;

    bool operator==(const ImplausibleValue&) const = default;
};

class UnitModel {
public:
    static constexpr int kMusic = 1; // block numbers
    static constexpr int kMicA = 2;
    static constexpr int kEffect = 3;
    static constexpr int kMicB = 4;
    static constexpr int kSystem = 5;
    static constexpr std::array<int, 5> kBlockSizes = {86, 42, 41, 42, 23};
    static constexpr std::uint8_t kZeroDbGain = 120;
    static constexpr std::array<int, 4> kPresetCounts = {6, 6, 8, 6};

    // The factory state: flat equalisers, middling volumes, parametric equaliser mode.
    UnitModel();

    // Block 1..5 as the unit holds it now (empty for another number).
    QByteArray block(int n) const;
    void setBlock(int n, QByteArrayView bytes);

    // A block read: RecallMode 9..12 with the section's own block switches that section to
    // preset `preset` first (when the bank has it); any other read returns the live block.
    QByteArray read(int recallMode, int preset, int n);

    // Writes the value of an acknowledged parameter request (group, item, value bytes).
    void applyParameter(std::uint8_t group, std::uint8_t item, QByteArrayView values);
    // Writes the 212 bytes of a whole-set download.
    void applyWholeSet(QByteArrayView values);
    // The 212 bytes in the order a whole-set download carries them: music 0..85, microphone A
    // 0..41, effect 1..40, microphone B 0..41, system 10, effect 0.
    QByteArray wholeSetBytes() const;

    // Every implausible value stored by a parameter request or a whole-set download, in order.
    const std::vector<ImplausibleValue>& implausibleValues() const { return implausible_; }

    int currentPreset(int section) const { return current_[static_cast<std::size_t>(section)]; }
    bool bypassed(std::uint8_t group) const;
    bool linked() const { return linked_; }
    void setLinked(bool on) { linked_ = on; }
    int savesRequested() const { return saves_; }

private:
    QByteArray& live(int n);
    void setByte(int n, int k, std::uint8_t v);
    void setBand(int n, int start, int bands, QByteArrayView band);
    void flattenGains(int n, int start, int bands);
    void applyParameterValues(std::uint8_t group, std::uint8_t item, QByteArrayView values);
    void setBypass(std::uint8_t group, std::uint8_t v);
    // Notes the implausible values among the bytes written since the last check.
    void checkWritten();

    std::array<std::vector<QByteArray>, 4> banks_;
    std::array<int, 4> current_{};
    QByteArray system_;
    std::array<bool, 0x0E> bypass_{};
    bool linked_ = false;
    int saves_ = 0;
    std::vector<std::pair<int, int>> written_; // block, byte
    std::vector<ImplausibleValue> implausible_;
};

} // namespace korvanex::sim
