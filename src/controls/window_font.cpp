#include "controls/window_font.h"

#include <QWidget>

namespace korvanex {

QStringList chineseFontFamilies() {
    return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
            QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei"),
            QStringLiteral("SimSun")};
}

QFont windowFont() {
    QFont font = withChineseFamilies(QFont());
    font.setPixelSize(kWindowFontPixels);
    return font;
}

QFont withChineseFamilies(QFont base) {
    base.setFamilies(chineseFontFamilies());
    return base;
}

void useChineseFamilies(QWidget& window) {
    window.setFont(withChineseFamilies(window.font()));
}

} // namespace korvanex
