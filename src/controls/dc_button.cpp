#include "controls/dc_button.h"

#include "controls/colors.h"

namespace korvanex {

dcButton::dcButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent), backColor_(kColorOff) {
    connect(this, &QPushButton::clicked, this, &dcButton::Click);
    restyle();
}

void dcButton::setCaption(const QString& caption) {
    setText(caption);
    updateAccessibleName();
}

void dcButton::setLabel(const QString& label) {
    label_ = label;
    updateAccessibleName();
}

void dcButton::updateAccessibleName() {
    // Without a label the caption itself is the name.
    setAccessibleName(label_.isEmpty() ? QString() : label_ + QLatin1Char(' ') + text());
}

void dcButton::setBackColor(std::uint32_t bgr) {
    if (bgr == backColor_)
        return;
    backColor_ = bgr;
    restyle();
    followColour();
}

void dcButton::setOnColours(std::vector<std::uint32_t> colours) {
    onColours_ = std::move(colours);
    setCheckable(true);
    followColour();
}

void dcButton::followColour() {
    if (!isCheckable()) {
        return;
    }
    bool on = false;
    for (std::uint32_t c : onColours_) {
        on = on || c == backColor_;
    }
    setChecked(on);
}

void dcButton::restyle() {
    const QColor back = colorFromBgr(backColor_);
    const QString fore =
        wantsLightText(backColor_) ? QStringLiteral("#ffffff") : QStringLiteral("#000000");
    // The colour is the button's state, so it is painted whatever the platform style.
    setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2;"
                                 " border: 1px solid %3; border-radius: 3px; padding: 1px 4px; }"
                                 "QPushButton:hover { border-color: %4; }"
                                 "QPushButton:pressed { background-color: %3; }"
                                 "QPushButton:focus { border: 2px solid %4; }"
                                 "QPushButton:disabled { color: #6a6a6a; }")
                      .arg(back.name(), fore, back.darker(150).name(), back.darker(250).name()));
}

} // namespace korvanex
