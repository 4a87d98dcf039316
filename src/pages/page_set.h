#pragma once
// The eight pages `Picture1(0..7)`, the volume box `Frame1` and the window's state fields,
// with every control reachable by its own name (flat members below) or through its page.
// The window places `Picture1(i)` at pageGeometry() and `Frame1` at frameGeometry(); at
// start page 0 is shown and the others hidden.

#include "pages/page_state.h"

#include <QRect>
#include <array>

class QWidget;
class QLabel;
class QGroupBox;

namespace korvanex {

class ctSlide;
class dcButton;
class ComboBox;
class OptionGroup;
class TextBox;
class LkSlide;
class EQline;
class EqPanel;
class MusicPage;
class MicPage;
class EffectPage;
class MainOutPage;
class CenterPage;
class SubPage;
class SystemPage;
class VolumeFrame;

class PageSet {
public:
    // Creates every page and Frame1 as children of `parent` (the window's client area).
    explicit PageSet(QWidget* parent);
    PageSet(const PageSet&) = delete;
    PageSet& operator=(const PageSet&) = delete;

    // In the parent's coordinates, logical pixels (twips / 15).
    static QRect pageGeometry();  // every Picture1(i)
    static QRect frameGeometry(); // Frame1

    // Rewrites the read-out that follows this slider (and the graph cut-off that follows the
    // read-out) from the slider's value, as a user's move does. False for a slider without one.
    bool showReadout(const ctSlide* slider) const;
    void showAllReadouts() const;
    // Shows/enables the effect groups for state.EffectProgram.
    void showEffectProgram();
    // Shows dcButton4 while Option5(1) "手动保存" is chosen.
    void showSaveMode();

    PageState state;

    std::array<QWidget*, 8> Picture1{};
    VolumeFrame* Frame1 = nullptr;

    MusicPage& music() const { return *music_; }
    MicPage& micA() const { return *micA_; }
    EffectPage& effect() const { return *effect_; }
    MainOutPage& mainOut() const { return *mainOut_; }
    CenterPage& center() const { return *center_; }
    SubPage& sub() const { return *sub_; }
    SystemPage& system() const { return *system_; }
    MicPage& micB() const { return *micB_; }
    // Equaliser 1..7 (strips, graph, buttons); see kEqSections.
    EqPanel& eq(int number) const;

    // --- every control by name ---
    // Frame1
    std::array<ctSlide*, 3> ctSlide1{};
    std::array<TextBox*, 3> Text1{};
    // Label3(0..2) are Frame1's captions, Label3(4) the hidden feedback caption; no Label3(3).
    std::array<QLabel*, 5> Label3{};
    // page 0
    ComboBox* Combo1 = nullptr;
    dcButton* dcButton15 = nullptr;
    std::array<dcButton*, 3> dcButton3{};
    ctSlide* ctSlide19 = nullptr;
    TextBox* Text19 = nullptr;
    OptionGroup* Option1 = nullptr;
    std::array<LkSlide*, 10> LkSlide1{};
    EQline* EQline1 = nullptr;
    dcButton* dcButton16 = nullptr;
    dcButton* dcButton17 = nullptr;
    // page 1
    ComboBox* Combo2 = nullptr;
    std::array<dcButton*, 4> dcButton19{};
    ctSlide* ctSlide11 = nullptr;
    TextBox* Text5 = nullptr;
    ctSlide* ctSlide8 = nullptr;
    TextBox* Text9 = nullptr;
    std::array<LkSlide*, 10> LkSlide2{};
    EQline* EQline2 = nullptr;
    dcButton* dcButton18 = nullptr;
    dcButton* dcButton20 = nullptr;
    // page 2
    ComboBox* Combo3 = nullptr;
    std::array<QWidget*, 2> Picture7{};
    ctSlide* ctSlide2 = nullptr;
    TextBox* Text2 = nullptr;
    ctSlide* ctSlide3 = nullptr;
    TextBox* Text3 = nullptr;
    ctSlide* ctSlide4 = nullptr;
    TextBox* Text4 = nullptr;
    ctSlide* ctSlide5 = nullptr;
    TextBox* Text6 = nullptr;
    QWidget* Picture8 = nullptr;
    QWidget* Picture9 = nullptr;
    std::array<ctSlide*, 8> ctSlide6{};
    std::array<TextBox*, 8> Text7{};
    std::array<ctSlide*, 10> ctSlide7{};
    std::array<TextBox*, 10> Text8{};
    std::array<LkSlide*, 3> LkSlide3{};
    EQline* EQline3 = nullptr;
    dcButton* dcButton21 = nullptr;
    dcButton* dcButton22 = nullptr;
    // page 3
    ctSlide* ctSlide9 = nullptr;
    TextBox* Text10 = nullptr;
    std::array<LkSlide*, 3> LkSlide4{};
    EQline* EQline4 = nullptr;
    dcButton* dcButton23 = nullptr;
    dcButton* dcButton24 = nullptr;
    // page 4
    dcButton* dcButton27 = nullptr;
    std::array<ctSlide*, 2> ctSlide10{};
    std::array<TextBox*, 2> Text11{};
    std::array<LkSlide*, 3> LkSlide5{};
    EQline* EQline5 = nullptr;
    dcButton* dcButton25 = nullptr;
    dcButton* dcButton26 = nullptr;
    // page 5
    std::array<ctSlide*, 4> ctSlide12{};
    std::array<TextBox*, 4> Text12{};
    dcButton* dcButton12 = nullptr;
    std::array<LkSlide*, 3> LkSlide6{};
    EQline* EQline6 = nullptr;
    dcButton* dcButton28 = nullptr;
    dcButton* dcButton29 = nullptr;
    // page 6
    std::array<QGroupBox*, 3> Shape1{};
    dcButton* dcButton32 = nullptr;
    dcButton* dcButton31 = nullptr;
    dcButton* dcButton13 = nullptr;
    dcButton* dcButton14 = nullptr;
    QWidget* Picture3 = nullptr;
    OptionGroup* Option5 = nullptr;
    dcButton* dcButton4 = nullptr;
    std::array<QWidget*, 3> Picture2{};
    OptionGroup* Option2 = nullptr;
    OptionGroup* Option3 = nullptr;
    OptionGroup* Option4 = nullptr;
    ctSlide* ctSlide13 = nullptr;
    TextBox* Text13 = nullptr;
    ctSlide* ctSlide14 = nullptr;
    TextBox* Text14 = nullptr;
    ctSlide* ctSlide15 = nullptr;
    TextBox* Text15 = nullptr;
    ctSlide* ctSlide16 = nullptr;
    TextBox* Text16 = nullptr;
    ctSlide* ctSlide17 = nullptr;
    TextBox* Text17 = nullptr;
    ctSlide* ctSlide18 = nullptr;
    TextBox* Text18 = nullptr;
    // page 7
    ComboBox* Combo4 = nullptr;
    ctSlide* ctSlide20 = nullptr;
    TextBox* Text21 = nullptr;
    ctSlide* ctSlide21 = nullptr;
    TextBox* Text20 = nullptr;
    std::array<LkSlide*, 10> LkSlide7{};
    EQline* EQline7 = nullptr;
    dcButton* dcButton1 = nullptr;
    dcButton* dcButton2 = nullptr;

private:
    MusicPage* music_ = nullptr;
    MicPage* micA_ = nullptr;
    EffectPage* effect_ = nullptr;
    MainOutPage* mainOut_ = nullptr;
    CenterPage* center_ = nullptr;
    SubPage* sub_ = nullptr;
    SystemPage* system_ = nullptr;
    MicPage* micB_ = nullptr;
};

} // namespace korvanex
