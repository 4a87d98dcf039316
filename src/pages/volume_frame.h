#pragma once
// `Frame1` "音量控制": the three live volumes, shown beside every page but the system page.

#include "pages/readout_set.h"

#include <QGroupBox>
#include <array>

class QLabel;

namespace korvanex {

class ctSlide;
class TextBox;

class VolumeFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit VolumeFrame(QWidget* parent = nullptr);

    std::array<ctSlide*, 3> ctSlide1{}; // music, microphone, effect 0..80, vertical
    // The volume boxes: the user may type a volume (acted on by the volume handlers).
    std::array<TextBox*, 3> Text1{};
    std::array<QLabel*, 3> Label3{}; // "音乐", "话筒", "效果"
    ReadoutSet readouts;
};

} // namespace korvanex
