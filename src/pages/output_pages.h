#pragma once
// Pages 3 "主输出", 4 "中置" and 5 "超低音": a few settings beside a three-band equaliser.

#include "pages/eq_panel.h"
#include "pages/page_base.h"

#include <array>

namespace korvanex {

class dcButton;
class ctSlide;
class TextBox;

class MainOutPage : public PageBase {
    Q_OBJECT
public:
    explicit MainOutPage(QWidget* parent = nullptr);

    ctSlide* ctSlide9; // "音乐低切：" 0..155
    TextBox* Text10;
    EqPanel eq;
    std::array<LkSlide*, 3> LkSlide4{};
    EQline* EQline4;
    dcButton* dcButton23;
    dcButton* dcButton24;
};

class CenterPage : public PageBase {
    Q_OBJECT
public:
    explicit CenterPage(QWidget* parent = nullptr);

    dcButton* dcButton27;                // "效果进中置开关" "关"/"开"
    std::array<ctSlide*, 2> ctSlide10{}; // music, microphone 0..80
    std::array<TextBox*, 2> Text11{};
    EqPanel eq;
    std::array<LkSlide*, 3> LkSlide5{};
    EQline* EQline5;
    dcButton* dcButton25;
    dcButton* dcButton26;
};

class SubPage : public PageBase {
    Q_OBJECT
public:
    explicit SubPage(QWidget* parent = nullptr);

    std::array<ctSlide*, 4> ctSlide12{}; // low cut, high cut 0..255; two volumes 0..80
    std::array<TextBox*, 4> Text12{};
    dcButton* dcButton12; // "超低极性" "0"/"180"
    EqPanel eq;
    std::array<LkSlide*, 3> LkSlide6{};
    EQline* EQline6;
    dcButton* dcButton28;
    dcButton* dcButton29;
};

} // namespace korvanex
