#pragma once
// Colours of the window are 0x00BBGGRR numbers (blue in the high byte, red in the low byte),
// the form in which the pages keep and compare a button's state colour.

#include <QColor>
#include <cstdint>

namespace korvanex {

// Not selected, off, and the design colour of the page buttons.
inline constexpr std::uint32_t kColorOff = 0xBA9EA0;
// Mute and key lock switched on.
inline constexpr std::uint32_t kColorOn = 0xFF0000;
// A selected selector button.
inline constexpr std::uint32_t kColorSelected = 0x00C000;
// A music input port chosen by a click, and at design.
inline constexpr std::uint32_t kColorPortClicked = 0x008000;

inline QColor colorFromBgr(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

inline std::uint32_t bgrFromColor(const QColor& c) {
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) |
           (std::uint32_t(c.blue()) << 16);
}

// Whether text on this background reads better in white than in black.
bool wantsLightText(std::uint32_t bgr);

} // namespace korvanex
