// The graph's band model, properties and PEQOUT reports as the pages and files rely on them.
#include "core/numbers.h"
#include "eqcurve/eq_line.h"

#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <complex>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

using korvanex::EQline;

namespace {

struct Report {
    int index;
    float F, Q, db;
    int Tp;
};

std::vector<Report> reports(const QSignalSpy& spy) {
    std::vector<Report> out;
    for (const QList<QVariant>& a : spy) {
        out.push_back({a[0].toInt(), a[1].toFloat(), a[2].toFloat(), a[3].toFloat(), a[4].toInt()});
    }
    return out;
}

std::vector<int> indices(const QSignalSpy& spy) {
    std::vector<int> out;
    for (const Report& r : reports(spy)) {
        out.push_back(r.index);
    }
    return out;
}

double refSection(double f, double f0, double q) {
    const std::complex<double> s(0, f / f0);
    return 20.0 * std::log10(std::abs(1.0 / (s * s + s / q + 1.0)));
}

// Main window start-up of one graph: band count, pass filters, cut-offs, default bands.
void startGraph(EQline& g, int n, bool lp, bool hp, float lpF, float hpF) {
    g.resize(1033, 305);
    g.setEQnum(n);
    g.setLPEnabel(lp);
    g.setHPEnabel(hp);
    if (lpF > 0) {
        g.setLP_F(lpF);
    }
    if (hpF > 0) {
        g.setHP_F(hpF);
    }
    const float freqs[] = {60, 100, 200, 300, 500, 1000, 2000, 4000, 6300, 10000};
    for (int i = 0; i <= n; ++i) {
        g.setVal(i, freqs[i], 0, 1);
    }
}

// Counts the paint events of the widget it watches.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(int& count) : count_(count) {}
    bool eventFilter(QObject*, QEvent* event) override {
        count_ += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }

private:
    int& count_;
};

} // namespace

// Catches EQnum taken as a band count, a wrong default band, a wrong report order, or markers
// of removed bands left on screen.
TEST(EqLineModel, EQnumBuildsBandsAndReportsOneToNThenZero) {
    EQline g;
    g.resize(1033, 305);
    EXPECT_EQ(g.EQnum(), 1);
    EXPECT_EQ(g.bandCount(), 0);
    QSignalSpy spy(&g, &EQline::PEQOUT);
    g.setEQnum(9);
    EXPECT_EQ(g.bandCount(), 10);
    EXPECT_EQ(indices(spy), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
    for (const Report& r : reports(spy)) {
        EXPECT_FLOAT_EQ(r.F, 200.0f * (r.index + 1));
        EXPECT_FLOAT_EQ(r.Q, 2.0f);
        EXPECT_FLOAT_EQ(r.db, 0.0f);
        EXPECT_EQ(r.Tp, 0);
    }
    g.setDB(4, 5);
    g.setT(4, 1);
    spy.clear();
    g.setEQnum(2);
    EXPECT_EQ(indices(spy), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(g.band(4).F, korvanex::Band{}.F) << "band 4 no longer exists";
    EXPECT_FLOAT_EQ(g.band(2).F, 600.0f);
    EXPECT_TRUE(g.markerVisible(2));
    for (int b = 3; b < EQline::MaxBands; ++b) {
        EXPECT_FALSE(g.markerVisible(b)) << b;
    }
    spy.clear();
    g.setEQnum(15);
    g.setEQnum(-1);
    g.KONGZHIDIAN(15);
    g.KONGZHIDIAN(-1);
    EXPECT_EQ(g.EQnum(), 2);
    EXPECT_EQ(g.bandCount(), 3);
    EXPECT_EQ(spy.count(), 0);
}

// Catches missing range checks, a report with the wrong field order, or setVal's gain and Q
// swapped.
TEST(EqLineModel, BandOperationsReportTheStoredBand) {
    EQline g;
    g.setEQnum(9);
    QSignalSpy spy(&g, &EQline::PEQOUT);
    g.setVal(3, 1234.5f, -3.5f, 4.4f);
    EXPECT_EQ(g.readoutText(), "F:1234\nG:-3.5\nQ:4.4");
    g.setDB(3, 7.2f);
    g.setF(3, 99.9f);
    g.setQ(3, 0.1f);
    g.setQ(3, 15.0f);
    g.setT(3, 2);
    g.setT(3, 3); // out of range: type kept, still reported
    const auto r = reports(spy);
    ASSERT_EQ(r.size(), 7u);
    EXPECT_EQ(r[0].index, 3);
    EXPECT_FLOAT_EQ(r[0].F, 1234.5f);
    EXPECT_FLOAT_EQ(r[0].Q, 4.4f);
    EXPECT_FLOAT_EQ(r[0].db, -3.5f);
    EXPECT_FLOAT_EQ(r[1].db, 7.2f);
    EXPECT_FLOAT_EQ(r[2].F, 99.9f);
    EXPECT_FLOAT_EQ(r[3].Q, 0.1f);
    EXPECT_FLOAT_EQ(r[4].Q, 15.0f);
    EXPECT_EQ(r[5].Tp, 2);
    EXPECT_EQ(r[6].Tp, 2);
    EXPECT_EQ(g.bandType(3), 2);

    spy.clear();
    g.setQ(3, 0.09f);
    g.setQ(3, 15.1f);
    g.setQ(3, std::numeric_limits<float>::quiet_NaN());
    for (int bad : {-1, 10, 14, 99}) {
        g.setDB(bad, 3);
        g.setF(bad, 3);
        g.setQ(bad, 3);
        g.setVal(bad, 3, 3, 3);
        g.setT(bad, 1);
    }
    EXPECT_EQ(spy.count(), 0);
    EXPECT_FLOAT_EQ(g.band(3).Q, 15.0f);
}

// Catches property writes that raise band reports they must not, or LTY/HTY that do not.
TEST(EqLineModel, PropertyWritesAndTheirReports) {
    EQline g;
    g.setEQnum(9);
    // The curve follows each cut-off write at once, with no band change after it.
    const auto expectCurve = [&g](double lpF, double hpF) {
        for (int k = 0; k < EQline::CurvePointCount; k += 11) {
            const double f = EQline::N24_F(EQline::FirstCurvePoint + k);
            const double want = (lpF > 0 ? refSection(f, lpF, 0.707) : 0.0) +
                                (hpF > 0 ? refSection(hpF, f, 0.707) : 0.0);
            ASSERT_NEAR(g.curve()[k], want, 0.001) << lpF << " " << hpF << " point " << k;
        }
    };
    QSignalSpy spy(&g, &EQline::PEQOUT);
    g.setHPEnabel(true);
    expectCurve(0, 50);
    g.setLPEnabel(true);
    expectCurve(10000, 50);
    g.setLP_F(4000);
    expectCurve(4000, 50);
    g.setHP_F(20);
    expectCurve(4000, 20);
    g.setEQ7visible(false);
    g.setGraphEnabled(true);
    EXPECT_EQ(spy.count(), 0);
    g.setLTY(3);
    g.setHTY(8);
    EXPECT_EQ(indices(spy), (std::vector<int>{0, 0}));
    EXPECT_TRUE(g.HPEnabel());
    EXPECT_TRUE(g.LPEnabel());
    EXPECT_FLOAT_EQ(g.LP_F(), 4000.0f);
    EXPECT_FLOAT_EQ(g.HP_F(), 20.0f);
    EXPECT_FALSE(g.EQ7visible());
    EXPECT_TRUE(g.graphEnabled());
    EXPECT_EQ(g.LTY(), 3);
    EXPECT_EQ(g.HTY(), 8);
    EXPECT_FLOAT_EQ(g.sectionQ(0, 0), 1.306f);
    EXPECT_FLOAT_EQ(g.sectionQ(0, 1), 0.5412f);
    EXPECT_FLOAT_EQ(g.sectionQ(0, 2), 0.0f);
    EXPECT_FLOAT_EQ(g.sectionQ(1, 3), 1.306f);
}

// Catches a change that the shown graph does not repaint (grabs paint anyway, the screen
// does not).
TEST(EqLineModel, ChangesRepaintTheShownGraph) {
    EQline g;
    g.resize(1033, 305);
    g.setEQnum(9);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    int paints = 0;
    PaintCounter counter(paints);
    g.installEventFilter(&counter);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"setDB", [&] { g.setDB(3, 6); }},
        {"setF", [&] { g.setF(3, 900); }},
        {"setQ", [&] { g.setQ(3, 4); }},
        {"setVal", [&] { g.setVal(4, 700, -3, 1); }},
        {"setT", [&] { g.setT(4, 2); }},
        {"LP_F", [&] { g.setLP_F(5000); }},
        {"HP_F", [&] { g.setHP_F(80); }},
        {"LPEnabel", [&] { g.setLPEnabel(true); }},
        {"HPEnabel", [&] { g.setHPEnabel(true); }},
        {"LTY", [&] { g.setLTY(4); }},
        {"EQ_BYPASS", [&] { g.setEQ_BYPASS(true); }},
        {"EQ7visible", [&] { g.setEQ7visible(false); }},
    };
    for (const auto& [name, change] : changes) {
        QTest::qWait(1); // lets a paint already due go by
        paints = 0;
        change();
        EXPECT_TRUE(QTest::qWaitFor([&] { return paints > 0; }, 3000)) << name;
    }
}

// Catches cut-offs accepted outside 20..20000 Hz or a property that does not read back what
// was written.
TEST(EqLineModel, CutoffFrequencyLimits) {
    EQline g;
    g.setEQnum(2);
    EXPECT_FLOAT_EQ(g.cutoffFreq(0), 10000.0f);
    EXPECT_FLOAT_EQ(g.cutoffFreq(1), 50.0f);
    g.setLP_F(20000);
    EXPECT_FLOAT_EQ(g.cutoffFreq(0), 20000.0f);
    g.setLP_F(20000.5f);
    EXPECT_FLOAT_EQ(g.LP_F(), 20000.5f);
    g.setLP_F(19.9f);
    EXPECT_FLOAT_EQ(g.LP_F(), 19.9f);
    g.setLP_F(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(g.cutoffFreq(0), 20000.0f);
    g.setHP_F(20);
    g.setHP_F(-5);
    EXPECT_FLOAT_EQ(g.cutoffFreq(1), 20.0f);
    EXPECT_FLOAT_EQ(g.HP_F(), -5.0f);
}

// Catches a side switched on that forgets its stored type, EQnum touching the section table,
// or a type write that needs the side's switch.
TEST(EqLineModel, PassSidesOnOffAndTypes) {
    EQline g;
    g.setEQnum(2);
    EXPECT_FLOAT_EQ(g.sectionQ(1, 0), 0.0f) << "no sections until a side is switched on";
    EXPECT_TRUE(g.cutoffMarkerVisible(1));
    g.setHPEnabel(false);
    EXPECT_FALSE(g.cutoffMarkerVisible(1));
    g.setHPEnabel(true);
    EXPECT_FLOAT_EQ(g.sectionQ(1, 0), 0.707f);
    EXPECT_FLOAT_EQ(g.sectionQ(1, 1), 0.0f);
    g.setHTY(6);
    g.setHPEnabel(false);
    EXPECT_FLOAT_EQ(g.sectionQ(1, 0), 0.0f);
    g.setHPEnabel(true);
    EXPECT_FLOAT_EQ(g.sectionQ(1, 0), 2.536f);
    EXPECT_TRUE(g.HPEnabel());

    g.setLPEnabel(false);
    g.setLTY(5);
    EXPECT_TRUE(g.cutoffMarkerVisible(0));
    EXPECT_FALSE(g.LPEnabel());
    EXPECT_FLOAT_EQ(g.sectionQ(0, 1), 0.707f);
    g.setLTY(-1);
    EXPECT_FALSE(g.cutoffMarkerVisible(0));
    EXPECT_FLOAT_EQ(g.sectionQ(0, 0), 0.0f);

    // A rebuild leaves the sections but brings both markers back, and both cut-offs and
    // stored types to their defaults.
    g.setLTY(5);
    g.setLTY(-1);
    g.setLP_F(4000);
    g.setHP_F(120);
    g.setEQnum(2);
    EXPECT_TRUE(g.cutoffMarkerVisible(0));
    EXPECT_FLOAT_EQ(g.sectionQ(0, 0), 0.0f);
    EXPECT_FLOAT_EQ(g.sectionQ(1, 0), 2.536f);
    EXPECT_FLOAT_EQ(g.cutoffFreq(0), 10000.0f);
    EXPECT_FLOAT_EQ(g.cutoffFreq(1), 50.0f);
    EXPECT_FLOAT_EQ(g.LP_F(), 4000.0f) << "the property keeps what was written";
    EXPECT_EQ(g.filterType(0), 1);
    EXPECT_EQ(g.filterType(1), 1);
    g.setHPEnabel(true);
    EXPECT_FLOAT_EQ(g.sectionQ(1, 0), 0.707f) << "type 1 again, not the 7 written before";
    // No sections outside the two sides' four.
    for (const auto& [side, section] :
         {std::pair{0, 4}, std::pair{1, 4}, std::pair{0, -1}, std::pair{2, 0}, std::pair{-1, 0}}) {
        EXPECT_EQ(g.sectionQ(side, section), 0.0f) << side << " " << section;
    }
}

// Catches bypass reporting in the wrong order, leaving bands in the curve, or not undoing.
TEST(EqLineModel, BypassReportsEveryBandAndLeavesTheCascade) {
    EQline g;
    g.setEQnum(9);
    g.setHPEnabel(true);
    for (int b = 0; b <= 9; ++b) {
        g.setDB(b, 6);
    }
    QSignalSpy spy(&g, &EQline::PEQOUT);
    g.setEQ_BYPASS(true);
    EXPECT_EQ(indices(spy), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_TRUE(g.EQ_BYPASS());
    for (int k = 0; k < EQline::CurvePointCount; ++k) {
        const float f = EQline::N24_F(EQline::FirstCurvePoint + k);
        EXPECT_NEAR(g.curve()[k], refSection(50, f, 0.707), 0.001) << k;
    }
    // A rebuild keeps the flags; bypass off clears only the bands that exist then.
    g.setEQnum(2);
    g.setDB(1, 6);
    EXPECT_TRUE(g.bandBypassed(1));
    EXPECT_NEAR(g.curveValue(400), refSection(50, 400, 0.707), 0.001);
    g.setEQ_BYPASS(false);
    EXPECT_FALSE(g.bandBypassed(2));
    EXPECT_TRUE(g.bandBypassed(3));
    EXPECT_GT(g.curveValue(400), 5.0f);
    g.setEQnum(9);
    EXPECT_TRUE(g.bandBypassed(9));
    EXPECT_FALSE(g.bandBypassed(EQline::MaxBands)) << "no such band";
    EXPECT_FALSE(g.bandBypassed(-1));
}

// Catches the four start-up curves of the main window differing from flat bands plus the
// pass sections at their cut-offs.
TEST(EqLineModel, StartupCurves) {
    struct Case {
        int n;
        bool lp, hp;
        float lpF, hpF;
    };
    const Case cases[] = {{9, false, false, 0, 0},
                          {9, false, true, 0, 50},
                          {2, true, true, 4000, 20},
                          {2, true, true, 400, 20}};
    for (const Case& c : cases) {
        EQline g;
        startGraph(g, c.n, c.lp, c.hp, c.lpF, c.hpF);
        EXPECT_FLOAT_EQ(g.band(0).F, 60.0f);
        EXPECT_FLOAT_EQ(g.band(c.n).Q, 1.0f);
        for (int k = 0; k < EQline::CurvePointCount; ++k) {
            const double f = EQline::N24_F(EQline::FirstCurvePoint + k);
            double want = 0.0;
            if (c.lp) {
                want += refSection(f, c.lpF, 0.707);
            }
            if (c.hp) {
                want += refSection(c.hpF, f, 0.707);
            }
            ASSERT_NEAR(g.curve()[k], want, 0.001) << "graph " << c.n << c.lp << " point " << k;
        }
    }
}

// Catches a PEQOUT receiver that changes the graph getting a nested report, losing its value,
// or leaving the drawn curve behind the stored band.
TEST(EqLineModel, ChangeFromReceiverIsStoredWithoutSecondReport) {
    EQline g;
    g.setEQnum(2);
    int calls = 0;
    QObject::connect(&g, &EQline::PEQOUT, &g, [&](int index, float, float, float db, int) {
        ++calls;
        if (index == 1 && db == 3.0f) {
            g.setDB(2, 9);
        }
    });
    g.setDB(1, 3);
    EXPECT_EQ(calls, 1);
    EXPECT_FLOAT_EQ(g.band(2).dB, 9.0f);
    const int at600 = 126 - EQline::FirstCurvePoint; // 15.625 * 2^(126/24) is about 595 Hz
    EXPECT_NEAR(g.curve()[at600], g.curveValue(EQline::N24_F(126)), 1e-4);
    EXPECT_GT(g.curve()[at600], 8.0f);
    g.setDB(0, 1);
    EXPECT_EQ(calls, 2) << "a later change reports again";
}

// Catches crashes or reports from a graph whose bands were never built, and undefined band
// values reaching the curve.
TEST(EqLineModel, UnbuiltGraphAndUndefinedValuesAreSafe) {
    EQline g;
    QSignalSpy spy(&g, &EQline::PEQOUT);
    g.setDB(0, 3);
    g.setLTY(2);
    g.setEQ_BYPASS(true);
    g.PEQ_draw(0);
    EXPECT_EQ(spy.count(), 0);
    g.setEQ_BYPASS(false);
    g.setEQnum(3);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    g.setVal(0, 0, 0, 0);
    g.setVal(1, nan, 1e30f, -1);
    g.setVal(2, std::numeric_limits<float>::infinity(), nan, 0);
    g.setDB(3, -1e30f);
    for (float v : g.curve()) {
        ASSERT_TRUE(std::isfinite(v));
    }
    EXPECT_FALSE(g.markerVisible(1));
    EXPECT_TRUE(std::isnan(g.band(1).F)) << "stored values stay as written";
    g.setVal(3, 1e30f, 0, 2);
    EXPECT_NEAR(korvanex::leadingNumber(g.readoutText().mid(2)) / 1e30, 1.0, 1e-6)
        << "no integer overflow: " << g.readoutText().toStdString();
    g.resize(1033, 305);
    g.grab(); // paints the undefined bands without tripping the sanitizers
}

// Catches the graph's own Enabled property hiding QWidget's or not reading back.
TEST(EqLineModel, GraphEnabledProperty) {
    EQline g;
    EXPECT_FALSE(g.graphEnabled());
    EXPECT_TRUE(g.isEnabled());
    g.setGraphEnabled(false);
    EXPECT_FALSE(g.isEnabled());
    g.setGraphEnabled(true);
    EXPECT_TRUE(g.isEnabled());
    EXPECT_TRUE(g.graphEnabled());
}
