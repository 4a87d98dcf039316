#pragma once
// The equaliser furniture shared by every page but the system page: a row of band strips,
// the gain/frequency/Q captions left of them, the response graph below and the "EQ复位" /
// "EQ-BYPASS" buttons under it. The seven equalisers differ only by the table below.

#include <QString>
#include <array>
#include <vector>

class QLabel;
class QWidget;

namespace korvanex {

class LkSlide;
class EQline;
class dcButton;

struct EqSection {
    int number;         // 1..7: LkSlideN, EQlineN
    int page;           // index of Picture1
    int bands;          // strips on the page
    int firstStripLeft; // twips
    int stripStep;      // twips
    int resetButton;    // dcButtonN of "EQ复位"
    int bypassButton;   // dcButtonN of "EQ-BYPASS"
};

inline constexpr std::array<EqSection, 7> kEqSections{{
    {1, 0, 10, 3360, 960, 16, 17},
    {2, 1, 10, 3360, 960, 18, 20},
    {3, 2, 3, 9120, 1080, 21, 22},
    {4, 3, 3, 8160, 1080, 23, 24},
    {5, 4, 3, 8160, 1080, 25, 26},
    {6, 5, 3, 8160, 1080, 28, 29},
    {7, 7, 10, 3360, 960, 1, 2},
}};

// The section of equaliser `number` (1..7).
const EqSection& eqSection(int number);

class EqPanel {
public:
    explicit EqPanel(const EqSection& section) : section_(section) {}
    // Builds the strips, graph, captions and buttons as children of `page`; a page calls it
    // where the equaliser belongs in its focus order.
    void build(QWidget* page);

    const EqSection& section() const { return section_; }
    std::vector<LkSlide*> strips; // band 0 first
    EQline* graph = nullptr;
    dcButton* reset = nullptr;       // "EQ复位"
    dcButton* bypass = nullptr;      // "EQ-BYPASS"
    std::array<QLabel*, 3> Label5{}; // "增益", "频率", "Q值"

    // Copies the strips into a fixed-size array member of a page.
    template <std::size_t N> std::array<LkSlide*, N> stripArray() const {
        std::array<LkSlide*, N> out{};
        for (std::size_t i = 0; i < N && i < strips.size(); ++i)
            out[i] = strips[i];
        return out;
    }

private:
    EqSection section_;
};

} // namespace korvanex
