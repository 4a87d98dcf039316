#include "app/eq_graph_init.h"

namespace korvanex {

std::optional<int> BandDefaultFreq(int index) {
    static constexpr std::array<int, 10> kFreq{60,   100,  200,  300,  500,
                                               1000, 2000, 4000, 6300, 10000};
    if (index < 0 || index >= int(kFreq.size())) {
        return std::nullopt;
    }
    return kFreq[std::size_t(index)];
}

void initEqGraphs(EqGraphTarget& target) {
    for (const InitialGraphSetting& s : kInitialGraphSettings) {
        target.setEQnum(s.graph, s.EQnum);
        target.setLPEnabel(s.graph, s.LPEnabel);
        target.setHPEnabel(s.graph, s.HPEnabel);
        if (s.LP_F) {
            target.setLP_F(s.graph, *s.LP_F);
        }
        if (s.HP_F) {
            target.setHP_F(s.graph, *s.HP_F);
        }
    }
    const auto flat = [&](int graph, int i) {
        target.setVal(graph, i, float(*BandDefaultFreq(i)), 0.0f, 1.0f);
    };
    for (int i = 0; i <= 9; ++i) {
        flat(1, i);
        flat(2, i);
        flat(7, i);
    }
    for (int i = 0; i <= 2; ++i) {
        for (int graph : {3, 4, 5, 6}) {
            flat(graph, i);
        }
    }
}

} // namespace korvanex
