#pragma once
// A push button whose caption and background colour carry state. `Click` is the user's
// click; setting the caption or colour from code raises nothing.

#include <QPushButton>
#include <cstdint>

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

signals:
    void Click();

private:
    void restyle();
    void updateAccessibleName();

    QString label_;
    std::uint32_t backColor_;
};

} // namespace korvanex
