// The window at start: the equaliser graphs' bands and filters, its size and caption.

#include "app/eq_graph_init.h"
#include "app/form_helpers.h"
#include "app/tab_strip.h"
#include "controls/dc_button.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "pages/eq_panel.h"
#include "pages/page_set.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

using korvanex::BandDefaultFreq;
using korvanex::EQline;
using korvanex::testing::FormHarness;

namespace {

// Records the start-up calls, one text per call.
class RecordingGraphs : public korvanex::EqGraphTarget {
public:
    void setEQnum(int g, int v) override { add(g, "EQnum", v); }
    void setLPEnabel(int g, bool on) override { add(g, "LPEnabel", on); }
    void setHPEnabel(int g, bool on) override { add(g, "HPEnabel", on); }
    void setLP_F(int g, float hz) override { add(g, "LP_F", hz); }
    void setHP_F(int g, float hz) override { add(g, "HP_F", hz); }
    void setVal(int g, int i, float F, float gain, float Q) override {
        calls.push_back(
            QStringLiteral("%1 setVal %2 %3 %4 %5").arg(g).arg(i).arg(F).arg(gain).arg(Q));
    }
    QStringList calls;

private:
    void add(int g, const char* what, double v) {
        calls.push_back(QStringLiteral("%1 %2 %3").arg(g).arg(QLatin1String(what)).arg(v));
    }
};

} // namespace

// Faults: an index past the table giving a frequency (or reading out of bounds).
TEST(StartUp, BandDefaultFreqTableAndOutside) {
    const int expected[] = {60, 100, 200, 300, 500, 1000, 2000, 4000, 6300, 10000};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(BandDefaultFreq(i), expected[i]) << i;
    }
    for (int i : {-1, 10, 11, 32767, -32768}) {
        EXPECT_FALSE(BandDefaultFreq(i).has_value()) << i;
    }
}

// Faults: a band count set after the filters (it rebuilds the bands and would undo them);
// HP_F before LP_F; the microphone graphs set out of the table's order; bands not flat.
TEST(StartUp, InitEqGraphsCallOrder) {
    RecordingGraphs r;
    korvanex::initEqGraphs(r);
    const QStringList head = r.calls.mid(0, 20);
    EXPECT_EQ(head,
              (QStringList{"1 EQnum 9", "1 LPEnabel 0", "1 HPEnabel 0",              //
                           "2 EQnum 9", "2 LPEnabel 0", "2 HPEnabel 1", "2 HP_F 50", //
                           "7 EQnum 9", "7 LPEnabel 0", "7 HPEnabel 1", "7 HP_F 50", //
                           "3 EQnum 2", "3 LPEnabel 1", "3 HPEnabel 1", "3 LP_F 4000", "3 HP_F 20",
                           "4 EQnum 2", "4 LPEnabel 0", "4 HPEnabel 0", "5 EQnum 2"}));
    EXPECT_EQ(r.calls.mid(20, 8),
              (QStringList{"5 LPEnabel 0", "5 HPEnabel 0", "6 EQnum 2", "6 LPEnabel 1",
                           "6 HPEnabel 1", "6 LP_F 400", "6 HP_F 20", "1 setVal 0 60 0 1"}));
    const QStringList bands = r.calls.mid(27);
    ASSERT_EQ(bands.size(), 30 + 12);
    EXPECT_EQ(bands.mid(0, 4), (QStringList{"1 setVal 0 60 0 1", "2 setVal 0 60 0 1",
                                            "7 setVal 0 60 0 1", "1 setVal 1 100 0 1"}));
    EXPECT_EQ(bands[29], QStringLiteral("7 setVal 9 10000 0 1"));
    EXPECT_EQ(bands.mid(30, 5),
              (QStringList{"3 setVal 0 60 0 1", "4 setVal 0 60 0 1", "5 setVal 0 60 0 1",
                           "6 setVal 0 60 0 1", "3 setVal 1 100 0 1"}));
    EXPECT_EQ(bands.back(), QStringLiteral("6 setVal 2 200 0 1"));
}

// Faults: a graph left with the wrong band count, its filters lost to the band rebuild, or bands
// not flat at their defaults after the window loads.
TEST(StartUp, GraphsAfterLoadHaveFlatDefaultBandsAndTheirFilters) {
    FormHarness h;
    const auto& pages = h.form->pageSet();
    const std::array<EQline*, 7> graphs{pages.EQline1, pages.EQline2, pages.EQline3, pages.EQline4,
                                        pages.EQline5, pages.EQline6, pages.EQline7};
    for (const auto& s : korvanex::kInitialGraphSettings) {
        const EQline& g = *graphs[std::size_t(s.graph - 1)];
        SCOPED_TRACE(s.graph);
        EXPECT_EQ(g.EQnum(), s.EQnum);
        EXPECT_EQ(g.bandCount(), s.EQnum + 1);
        EXPECT_EQ(g.LPEnabel(), s.LPEnabel);
        EXPECT_EQ(g.HPEnabel(), s.HPEnabel);
        if (s.LP_F) {
            EXPECT_FLOAT_EQ(g.LP_F(), *s.LP_F);
        }
        if (s.HP_F) {
            EXPECT_FLOAT_EQ(g.HP_F(), *s.HP_F);
        }
        for (int i = 0; i < g.bandCount(); ++i) {
            EXPECT_FLOAT_EQ(g.band(i).F, float(*BandDefaultFreq(i))) << "band " << i;
            EXPECT_FLOAT_EQ(g.band(i).dB, 0.0f) << "band " << i;
            EXPECT_FLOAT_EQ(g.band(i).Q, 1.0f) << "band " << i;
        }
    }
    EXPECT_TRUE(h.line->events.isEmpty()) << "loading opens no port and sends nothing";
}

// Faults: a window too large for a 1366 x 768 screen, resizable, or wrongly captioned; the
// connect bar overlapping the tabs.
TEST(StartUp, FixedWindowFitsTheSmallScreenAndBarClearsTheTabs) {
    FormHarness h;
    auto& form = *h.form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Korvanex"));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_LE(form.width(), 1366);
    EXPECT_LE(form.height(), 768 - 40 - 30); // taskbar and title bar
    const QRect lastTab = form.Image1(7)->geometry();
    EXPECT_LT(lastTab.right(), form.mnulianji()->geometry().left());
    EXPECT_LE(lastTab.bottom(), form.pageSet().Picture1[0]->geometry().top());
}

// A strip whose filter type is refused must say so through the window's boxes, not silently.
TEST(StartUp, StripsReportThroughTheWindowsPrompter) {
    FormHarness h;
    korvanex::LkSlide* strip = h.form->pageSet().eq(7).strips.back();
    strip->setT(9);
    ASSERT_EQ(h.prompter.boxes.size(), 1u);
    EXPECT_EQ(h.prompter.boxes[0].text, QString::fromUtf8("无效属性值"));
}
