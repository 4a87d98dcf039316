#pragma once
// A whole-number slider. The pages react to `SlideChange`, which only a user's move raises
// (drag, click on the track, keys, wheel); setting `Value` from code is silent.

#include <QWidget>

class QSlider;

namespace korvanex {

class ctSlide : public QWidget {
    Q_OBJECT
public:
    ctSlide(int minimum, int maximum, int value, Qt::Orientation orientation,
            QWidget* parent = nullptr);

    int Value() const;
    // Clamped to the range; raises nothing.
    void setValue(int value);
    int Min() const;
    int Max() const;

    // The name a screen reader announces; given to the focusable slider inside too.
    void setAccessibleText(const QString& name);

    // The inner slider, for placing the focus order and for driving it as a user would.
    QSlider* slider() const { return slider_; }

signals:
    void SlideChange(int nValue);

private:
    QSlider* slider_;
};

} // namespace korvanex
