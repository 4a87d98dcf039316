#include "controls/dc_button.h"

#include "controls/colors.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace korvanex {

namespace {

// A dcButton as screen readers and UI automation see it: a button, or, where it shows a
// state, a check box, as Qt presents a checkable button. Its press action (named toggle on a
// check box) is a click, so the page's handler does what it does for the mouse and the
// checked state follows the colour it sets; Qt's own toggle would flip the checked state
// alone and leave the unit unchanged.
class DcButtonAccessible : public QAccessibleWidget {
public:
    explicit DcButtonAccessible(dcButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QAccessible::Role role() const override {
        return button()->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && button()->accessibleName().isEmpty()) {
            return button()->text();
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.pressed = button()->isDown();
        s.checkable = button()->isCheckable();
        s.checked = button()->isChecked();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names;
        if (button()->isEnabled()) {
            names << (button()->isCheckable() ? toggleAction() : pressAction());
        }
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction() || name == toggleAction()) {
            // As Qt's own press action: shown pressed, then clicked from the event loop once
            // this call has returned, so that a handler's message box does not hold it.
            button()->animateClick();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

private:
    dcButton* button() const { return static_cast<dcButton*>(widget()); }
};

QAccessibleInterface* dcButtonAccessible(const QString&, QObject* object) {
    auto* button = qobject_cast<dcButton*>(object);
    return button != nullptr ? new DcButtonAccessible(button) : nullptr;
}

} // namespace

dcButton::dcButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent), backColor_(kColorOff) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(dcButtonAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    // A widget its own style sheet styles takes the application's (the desktop's) font, not
    // its parent's, whenever its font is worked out again: after every colour change, and when
    // the desktop's font changes. What the window set in the font it is built with (the pixel
    // size, the Chinese faces) becomes its own.
    setFont(font());
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

void dcButton::setShownState(bool on) {
    setCheckable(true);
    setChecked(on);
}

void dcButton::followColour() {
    if (onColours_.empty()) {
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
