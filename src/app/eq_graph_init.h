#pragma once
// The equaliser graphs' settings at start: band counts, pass filters and flat bands at their
// default frequencies.

#include <array>
#include <optional>

namespace korvanex {

class PageSet;

// The default frequency of band 0 to 9 (60 Hz to 10 kHz); none for any other index.
std::optional<int> BandDefaultFreq(int index);

struct InitialGraphSetting {
    int graph; // EQlineN
    int EQnum; // last band index
    bool LPEnabel;
    bool HPEnabel;
    std::optional<float> LP_F; // Hz; not set when empty
    std::optional<float> HP_F;
};

// In the order they are applied: the two microphone graphs follow the music graph.
inline constexpr std::array<InitialGraphSetting, 7> kInitialGraphSettings{{
    {1, 9, false, false, std::nullopt, std::nullopt},
    {2, 9, false, true, std::nullopt, 50.0f},
    {7, 9, false, true, std::nullopt, 50.0f},
    {3, 2, true, true, 4000.0f, 20.0f},
    {4, 2, false, false, std::nullopt, std::nullopt},
    {5, 2, false, false, std::nullopt, std::nullopt},
    {6, 2, true, true, 400.0f, 20.0f},
}};

// What the start-up sets on graph N (1..7).
class EqGraphTarget {
public:
    virtual ~EqGraphTarget() = default;
    virtual void setEQnum(int graph, int value) = 0;
    virtual void setLPEnabel(int graph, bool on) = 0;
    virtual void setHPEnabel(int graph, bool on) = 0;
    virtual void setLP_F(int graph, float hz) = 0;
    virtual void setHP_F(int graph, float hz) = 0;
    virtual void setVal(int graph, int Index, float F, float gain, float Q) = 0;
};

// Each graph gets its band count first (which builds its bands anew), then its pass-filter
// switches, then the cut-offs, low-pass before high-pass; then every band is set flat (0 dB,
// Q 1) at its default frequency.
void initEqGraphs(EqGraphTarget& target);
// The same, on the graphs of a page set.
void initPageGraphs(const PageSet& pages);

} // namespace korvanex
