#include "app/eq_graph_init.h"
#include "eqcurve/eq_line.h"
#include "pages/page_set.h"

#include <array>
#include <cstddef>

namespace korvanex {

namespace {

// Start-up settings go to the graphs of the page set.
class PageGraphs : public EqGraphTarget {
public:
    explicit PageGraphs(const PageSet& pages)
        : graphs_{pages.EQline1, pages.EQline2, pages.EQline3, pages.EQline4,
                  pages.EQline5, pages.EQline6, pages.EQline7} {}

    void setEQnum(int graph, int value) override { at(graph).setEQnum(value); }
    void setLPEnabel(int graph, bool on) override { at(graph).setLPEnabel(on); }
    void setHPEnabel(int graph, bool on) override { at(graph).setHPEnabel(on); }
    void setLP_F(int graph, float hz) override { at(graph).setLP_F(hz); }
    void setHP_F(int graph, float hz) override { at(graph).setHP_F(hz); }
    void setVal(int graph, int Index, float F, float gain, float Q) override {
        at(graph).setVal(Index, F, gain, Q);
    }

private:
    EQline& at(int graph) { return *graphs_.at(std::size_t(graph - 1)); }
    std::array<EQline*, 7> graphs_;
};

} // namespace

void initPageGraphs(const PageSet& pages) {
    PageGraphs graphs(pages);
    initEqGraphs(graphs);
}

} // namespace korvanex
