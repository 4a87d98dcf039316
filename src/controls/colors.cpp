#include "controls/colors.h"

namespace korvanex {

bool wantsLightText(std::uint32_t bgr) {
    const QColor c = colorFromBgr(bgr);
    // Perceived brightness (ITU-R BT.601 weights), 0..255.
    const int luma = (299 * c.red() + 587 * c.green() + 114 * c.blue()) / 1000;
    return luma < 110;
}

} // namespace korvanex
