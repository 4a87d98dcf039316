// Where the graph puts its markers and which presses pick them up, at the main window's size.
#include "eqcurve/eq_line.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using korvanex::EQline;

namespace {

void press(EQline& g, QPointF pos) {
    QMouseEvent event(QEvent::MouseButtonPress, pos, g.mapToGlobal(pos), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&g, &event);
}

void release(EQline& g, QPointF pos) {
    QMouseEvent event(QEvent::MouseButtonRelease, pos, g.mapToGlobal(pos), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&g, &event);
}

// Widget pixel of a frequency and a gain, worked out from the layout in twips.
QPointF pointOf(double f, double g, double plotWidthTwips, double plotHeightTwips) {
    const double x = 550.0 + plotWidthTwips * std::log10(f / 20.0) / 3.0;
    const double y = 120.0 + (12.0 - g) * plotHeightTwips / 36.0;
    return {x / 15.0, y / 15.0};
}

} // namespace

// Catches markers placed on the curve instead of on (F, G), a wrong axis span, or cut-off
// markers off the 0 dB line or not following LP_F/HP_F.
TEST(EqLineGeometry, MarkersSitOnTheirFrequencyAndGain) {
    EQline g;
    g.resize(1033, 305);
    g.setEQnum(3);
    const double w = 1033 * 15 - 670;
    const double h = 305 * 15 - 450;
    g.setVal(1, 1000, -6, 0.7f);
    g.setVal(2, 20000, 12, 2);
    g.setVal(3, 20, -24, 2);
    const struct {
        int band;
        double f, gain;
    } cases[] = {{0, 200, 0}, {1, 1000, -6}, {2, 20000, 12}, {3, 20, -24}};
    for (const auto& c : cases) {
        const QPointF want = pointOf(c.f, c.gain, w, h);
        const QRectF r = g.markerRect(c.band);
        EXPECT_NEAR(r.center().x(), want.x(), 0.01) << c.band;
        EXPECT_NEAR(r.center().y(), want.y(), 0.01) << c.band;
        EXPECT_NEAR(r.width(), 25.0, 1e-6) << "375 twips";
    }
    // 1000 Hz lies log10(50)/3 of the way across the plot.
    EXPECT_NEAR(g.markerRect(1).center().x() - g.plotRect().left(),
                g.plotRect().width() * std::log10(50.0) / 3.0, 0.01);

    g.setLP_F(6300);
    g.setHP_F(80);
    for (const auto& [side, f] : {std::pair{0, 6300.0}, std::pair{1, 80.0}}) {
        const QPointF want = pointOf(f, 0, w, h);
        EXPECT_NEAR(g.cutoffMarkerRect(side).center().x(), want.x(), 0.01) << side;
        EXPECT_NEAR(g.cutoffMarkerRect(side).center().y(), want.y(), 0.01) << side;
    }
    g.setLP_F(25000); // rejected: the marker stays at the cut-off in use
    EXPECT_NEAR(g.cutoffMarkerRect(0).center().x(), pointOf(6300, 0, w, h).x(), 0.01);
}

// Catches the clipped-away part of a marker (band below 20 Hz or above +12 dB) still picking
// the band up from the labels beside the plot.
TEST(EqLineGeometry, OnlyTheVisiblePartOfAMarkerTakesAPress) {
    EQline g;
    g.resize(1033, 305);
    g.setEQnum(1);
    g.show();
    g.setF(0, 19); // centre left of the plot, over the dB labels
    ASSERT_LT(g.markerRect(0).center().x(), g.plotRect().left());
    press(g, g.markerRect(0).center());
    EXPECT_FALSE(g.isDragging());
    press(g, {g.plotRect().left() + 2, g.markerRect(0).center().y()});
    EXPECT_TRUE(g.isDragging()) << "the part inside the plot still works";
    release(g, {0, 0});

    g.setDB(1, 13); // centre above the plot's top edge
    ASSERT_LT(g.markerRect(1).center().y(), g.plotRect().top());
    press(g, g.markerRect(1).center());
    EXPECT_FALSE(g.isDragging());
    press(g, {g.markerRect(1).center().x(), g.plotRect().top() + 2});
    EXPECT_EQ(g.dragBand(), 1);
    release(g, {0, 0});
}

// Catches the read-out being placed with inverted bounds (undefined behaviour) when the plot
// is smaller than the read-out, and a drag there reporting nonsense.
TEST(EqLineGeometry, DragOnATinyPlot) {
    EQline g;
    g.resize(80, 45);
    g.setEQnum(0);
    g.show();
    ASSERT_TRUE(g.hasPlotArea());
    ASSERT_LT(g.plotRect().width(), 50.0);
    g.setF(0, 60);
    QSignalSpy spy(&g, &EQline::PEQOUT);
    press(g, g.markerRect(0).center());
    ASSERT_TRUE(g.isDragging());
    const QPointF to = g.markerRect(0).center() + QPointF(3, 3);
    QMouseEvent move(QEvent::MouseMove, to, g.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&g, &move);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_TRUE(std::isfinite(g.band(0).F));
    EXPECT_GE(g.band(0).dB, -12.0f);
    EXPECT_LE(g.band(0).dB, 12.0f);
    g.grab();
    release(g, {0, 0});
}

// Catches the type arithmetic of LTY/HTY overflowing at the ends of the value range instead of
// leaving the sections as they were.
TEST(EqLineGeometry, TypeWritesAtTheEndsOfTheRange) {
    EQline g;
    g.setEQnum(1);
    g.setLTY(3);
    g.setHTY(8);
    QSignalSpy spy(&g, &EQline::PEQOUT);
    g.setLTY(std::numeric_limits<int>::max());
    g.setHTY(std::numeric_limits<int>::min());
    EXPECT_EQ(spy.count(), 2);
    EXPECT_FLOAT_EQ(g.sectionQ(0, 0), 1.306f);
    EXPECT_FLOAT_EQ(g.sectionQ(1, 3), 1.306f);
    EXPECT_TRUE(g.cutoffMarkerVisible(0));
    EXPECT_TRUE(g.cutoffMarkerVisible(1));
    EXPECT_EQ(g.LTY(), std::numeric_limits<int>::max());
    // Off clears the side; on again with a stored type outside the table shows the marker and
    // loads nothing.
    g.setLPEnabel(false);
    g.setLPEnabel(true);
    EXPECT_FLOAT_EQ(g.sectionQ(0, 0), 0.0f);
    EXPECT_TRUE(g.cutoffMarkerVisible(0));
}
