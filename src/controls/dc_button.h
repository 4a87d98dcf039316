#pragma once
// A push button whose caption and background colour carry state. `Click` is the user's
// click (the mouse, the keyboard or a screen reader's press action); setting the caption or
// colour from code raises nothing.

#include <QPushButton>
#include <cstdint>
#include <vector>

namespace korvanex {

class dcButton : public QPushButton {
    Q_OBJECT
public:
    explicit dcButton(const QString& caption, QWidget* parent = nullptr);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption);

    // The caption of the label beside the button; screen readers then announce both, the
    // label first ("EXCITER: 关"), and follow caption changes.
    void setLabel(const QString& label);

    // 0x00BBGGRR.
    std::uint32_t BackColor() const { return backColor_; }
    void setBackColor(std::uint32_t bgr);

    // For a button whose colour is its state (a chosen member of a row, mute on, lock on):
    // the button reports itself checked while its colour is one of these, whoever sets the
    // colour, so that screen readers hear the state the colour shows. A click never changes
    // it by itself: the page's handler sets the colour.
    void setOnColours(std::vector<std::uint32_t> colours);

    // For a button whose state shows elsewhere (an equaliser's bypass, in words on its graph):
    // the button reports itself checked while `on`, its caption and colour unchanged.
    void setShownState(bool on);

signals:
    void Click();

protected:
    void nextCheckState() override {}

private:
    void restyle();
    void followColour();
    void updateAccessibleName();

    QString label_;
    std::uint32_t backColor_;
    std::vector<std::uint32_t> onColours_;
};

} // namespace korvanex
