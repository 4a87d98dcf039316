#pragma once
// Pages 1 "麦克风A" and 7 "麦克风B": one layout. The members carry the names of microphone A;
// microphone B's names are in the comments (and flat in PageSet).

#include "pages/eq_panel.h"
#include "pages/page_base.h"

#include <array>

namespace korvanex {

class ComboBox;
class dcButton;
class ctSlide;
class TextBox;

class MicPage : public PageBase {
    Q_OBJECT
public:
    // `micB` chooses the captions, items and equaliser of microphone B.
    MicPage(bool micB, QWidget* parent = nullptr);

    bool isMicB() const { return micB_; }

    ComboBox* combo;       // Combo2 / Combo4, "Mic1".."Mic6"
    ctSlide* lowCut;       // ctSlide11 / ctSlide20, 0..155
    TextBox* lowCutText;   // Text5 / Text21
    ctSlide* highGain;     // ctSlide8 / ctSlide21, 0..3
    TextBox* highGainText; // Text9 / Text20
    // Microphone A only, hidden for good: the feedback row and its caption Label3(4).
    std::array<dcButton*, 4> dcButton19{};
    QLabel* feedbackLabel = nullptr;
    EqPanel eq; // LkSlide2 / LkSlide7, EQline2 / EQline7
    std::array<LkSlide*, 10> strips{};
    EQline* graph;
    dcButton* reset;  // dcButton18 / dcButton1
    dcButton* bypass; // dcButton20 / dcButton2

private:
    bool micB_;
};

} // namespace korvanex
