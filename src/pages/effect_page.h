#pragma once
// Page 2 "效果": effect program, the reverb and echo cut filters, the echo group and the reverb
// group (one of them shown, as the effect program decides), effect equaliser.

#include "pages/eq_panel.h"
#include "pages/page_base.h"

#include <array>

namespace korvanex {

class ComboBox;
class dcButton;
class ctSlide;
class TextBox;

class EffectPage : public PageBase {
    Q_OBJECT
public:
    explicit EffectPage(QWidget* parent = nullptr);

    // Shows and enables the echo, reverb and reverb cut groups for an effect program.
    void showEffectProgram(int program);

    ComboBox* Combo3;                   // KTV1..KTV4, EFF1..EFF4
    std::array<QWidget*, 2> Picture7{}; // 0 reverb cut filters, 1 echo cut filters
    ctSlide* ctSlide2;                  // "混响低切：" 0..472
    TextBox* Text2;
    ctSlide* ctSlide3; // "混响高切：" 400..1800
    TextBox* Text3;
    ctSlide* ctSlide4; // "回声低切：" 0..472
    TextBox* Text4;
    ctSlide* ctSlide5; // "回声高切：" 400..1800
    TextBox* Text6;
    QWidget* Picture8; // echo group
    QWidget* Picture9; // reverb group
    std::array<ctSlide*, 8> ctSlide6{};
    std::array<TextBox*, 8> Text7{};
    std::array<ctSlide*, 10> ctSlide7{};
    std::array<TextBox*, 10> Text8{};
    EqPanel eq;
    std::array<LkSlide*, 3> LkSlide3{};
    EQline* EQline3;
    dcButton* dcButton21;
    dcButton* dcButton22;
};

} // namespace korvanex
