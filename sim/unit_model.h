#pragma once
// The unit's parameters, held as the five blocks it sends on a block read: music (86 bytes,
// with the main output, centre and subwoofer), microphone A (42), effect (41), microphone B
// (42) and system (23). The music, microphone A, effect and microphone B sections each have a
// bank of presets (6, 6, 8, 6); the section's live block is its current preset, so an edit is
// kept with that preset and a recall of another preset switches to it. Every acknowledged
// request writes the bytes of the block that hold its value, so a later read returns it.

#include <QByteArray>
#include <QByteArrayView>
#include <array>
#include <cstdint>
#include <vector>

namespace korvanex::sim {

class UnitModel {
public:
    static constexpr std::array<int, 5> kBlockSizes = {86, 42, 41, 42, 23};
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

    std::array<std::vector<QByteArray>, 4> banks_;
    std::array<int, 4> current_{};
    QByteArray system_;
    std::array<bool, 0x0E> bypass_{};
    bool linked_ = false;
    int saves_ = 0;
};

} // namespace korvanex::sim
