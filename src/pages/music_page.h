#pragma once
// Page 0 "音乐": music mode, exciter, input port, output limit, key shift, music equaliser.

#include "pages/eq_panel.h"
#include "pages/page_base.h"

#include <array>

namespace korvanex {

class ComboBox;
class dcButton;
class ctSlide;
class TextBox;
class OptionGroup;

class MusicPage : public PageBase {
    Q_OBJECT
public:
    explicit MusicPage(QWidget* parent = nullptr);

    ComboBox* Combo1;                     // "音乐模式", MUSIC1..MUSIC6
    dcButton* dcButton15;                 // "EXCITER:" "关"/"开"
    std::array<dcButton*, 3> dcButton3{}; // input port AUTO, BGM, AUX
    ctSlide* ctSlide19;                   // output limit 0..6
    TextBox* Text19;
    OptionGroup* Option1; // key shift b5..#5
    EqPanel eq;
    std::array<LkSlide*, 10> LkSlide1{};
    EQline* EQline1;
    dcButton* dcButton16; // "EQ复位"
    dcButton* dcButton17; // "EQ-BYPASS"
};

} // namespace korvanex
