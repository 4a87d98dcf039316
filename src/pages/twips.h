#pragma once
// The window's design positions are in twips; one logical pixel is 15 twips.

#include <QRect>

namespace korvanex {

constexpr int twips(int t) {
    return (t + 7) / 15;
}

constexpr QRect twipRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

} // namespace korvanex
