#pragma once
// Layout of the graph in twips (15 per logical pixel) and the guarded conversions from model
// values to plot positions, shared by the painting and the dragging code of EQline.

#include <algorithm>
#include <cmath>

namespace korvanex::eqgeometry {

constexpr float TwipsPerPixel = 15.0f;
constexpr float PlotLeft = 550.0f;
constexpr float PlotTop = 120.0f;
constexpr float PlotWidthMargin = 670.0f;
constexpr float PlotHeightMargin = 450.0f;
constexpr float MarkerSize = 375.0f;
// Plot coordinates are kept within this many twips of the plot, so that a band with an absurd
// gain or frequency is drawn far outside (and clipped) instead of overflowing the painter.
constexpr float CoordinateLimit = 1.0e6f;

inline float px(float twips) {
    return twips / TwipsPerPixel;
}

// A twip coordinate that is safe to hand to the painter (NaN becomes 0, infinities the limit).
inline float safeCoordinate(float twips) {
    if (std::isnan(twips)) {
        return 0.0f;
    }
    return std::clamp(twips, -CoordinateLimit, CoordinateLimit);
}

// x of frequency f within the plot: 20 Hz at the left edge, three decades across.
inline float freqToX(float f, float scaleX) {
    return safeCoordinate(static_cast<float>(std::log(static_cast<double>(f) / 20.0)) * scaleX);
}

// y of gain g within the plot: +12 dB at the top edge.
inline float gainToY(float g, float scaleY) {
    return safeCoordinate((12.0f - g) * scaleY);
}

} // namespace korvanex::eqgeometry
