#pragma once
// A Q step arrow: a small button drawn as a triangle pointing left (down) or right (up). The
// strip runs the repeat itself from the press and the release.

#include <QAbstractButton>

namespace korvanex {

class StepArrow : public QAbstractButton {
    Q_OBJECT

public:
    // direction: -1 steps down (points left), +1 steps up (points right).
    StepArrow(int direction, QWidget* parent = nullptr);
    int direction() const { return direction_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int direction_;
};

} // namespace korvanex
