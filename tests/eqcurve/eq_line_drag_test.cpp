// Dragging band markers with the mouse: limits per band type, gain grid, the read-out, and
// every way a drag can end.
#include "eqcurve/eq_line.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <cmath>
#include <gtest/gtest.h>

using korvanex::EQline;

namespace {

constexpr float Twips = EQline::TwipsPerPixel;

void send(EQline& g, QEvent::Type type, QPointF pos, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, g.mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&g, &event);
}

void press(EQline& g, QPointF pos, Qt::MouseButton button = Qt::LeftButton) {
    send(g, QEvent::MouseButtonPress, pos, button, button);
}
void move(EQline& g, QPointF pos) {
    send(g, QEvent::MouseMove, pos, Qt::NoButton, Qt::LeftButton);
}
void release(EQline& g, QPointF pos, Qt::MouseButton button = Qt::LeftButton) {
    send(g, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

// Widget position of a frequency on the plot's x axis and of a gain (in tenths) on its y axis.
double xOf(const EQline& g, double f) {
    return (std::log(f / 20.0) * g.ScaleX() + 550.0) / Twips;
}
double yOfTenths(const EQline& g, int tenths) {
    return ((120 - tenths) * g.ScaleY() / 10.0 + 120.0) / Twips;
}

struct Graph : testing::Test {
    EQline g;
    void SetUp() override {
        g.resize(1033, 305);
        g.setEQnum(9);
        g.show();
    }
    // Picks up band b's marker and moves it to pos; returns the band afterwards.
    korvanex::Band dragBand(int b, QPointF pos) {
        press(g, g.markerRect(b).center());
        EXPECT_TRUE(g.isDragging());
        move(g, pos);
        return g.band(b);
    }
};

} // namespace

// Catches frequency limits that ignore the band type (type 1 high shelf, 2 low shelf) or let a
// drag leave 20..20000 Hz.
TEST_F(Graph, FrequencyLimitsPerBandType) {
    const double midY = yOfTenths(g, 0);
    EXPECT_FLOAT_EQ(dragBand(0, {1100, midY}).F, 20000.0f) << "past the right edge";
    EXPECT_FLOAT_EQ(dragBand(0, {-40, midY}).F, 20.0f) << "past the left edge";
    release(g, {0, 0});
    g.setT(1, 1);
    EXPECT_FLOAT_EQ(dragBand(1, {5, midY}).F, 4000.0f) << "high shelf at the left";
    EXPECT_FLOAT_EQ(dragBand(1, {1100, midY}).F, 20000.0f);
    release(g, {0, 0});
    g.setT(2, 2);
    EXPECT_FLOAT_EQ(dragBand(2, {1100, midY}).F, 1000.0f) << "low shelf at the right";
    EXPECT_FLOAT_EQ(dragBand(2, {-40, midY}).F, 20.0f);
    release(g, {0, 0});
}

// Catches a frequency rounded instead of truncated to 0.1 Hz.
TEST_F(Graph, FrequencyTruncatedToTenths) {
    // The axis spans three decades: 20 kHz on the right edge, 0 dB a third down the plot.
    EXPECT_NEAR(xOf(g, 20000), g.plotRect().right(), 0.01);
    EXPECT_NEAR(yOfTenths(g, 0), g.plotRect().top() + g.plotRect().height() / 3, 0.01);
    const korvanex::Band b = dragBand(3, {xOf(g, 1234.56), yOfTenths(g, 0)});
    EXPECT_FLOAT_EQ(b.F, 1234.5f);
    release(g, {0, 0});
}

// Catches gains off the 0.2 dB grid, odd tenths rounded up or away from zero, or no clamp.
TEST_F(Graph, GainGridAndLimits) {
    const double x = xOf(g, 1000);
    EXPECT_FLOAT_EQ(dragBand(4, {x, 8.0}).dB, 12.0f) << "top edge";
    move(g, {x, -30});
    EXPECT_FLOAT_EQ(g.band(4).dB, 12.0f) << "above the plot";
    move(g, {x, 400});
    EXPECT_FLOAT_EQ(g.band(4).dB, -12.0f) << "below the plot";
    move(g, {x, yOfTenths(g, 119)});
    EXPECT_FLOAT_EQ(g.band(4).dB, 11.8f);
    move(g, {x, yOfTenths(g, -1)});
    EXPECT_FLOAT_EQ(g.band(4).dB, -0.2f);
    move(g, {x, yOfTenths(g, 36)});
    EXPECT_FLOAT_EQ(g.band(4).dB, 3.6f);
    EXPECT_FLOAT_EQ(g.band(4).Q, 2.0f) << "Q untouched";
    release(g, {0, 0});
}

// Catches moves that do not report, report another band, or report stale values; and a
// read-out that is not shown while dragging or not hidden afterwards.
TEST_F(Graph, EveryMoveReportsTheDraggedBand) {
    g.setT(6, 1);
    QSignalSpy spy(&g, &EQline::PEQOUT);
    EXPECT_EQ(g.cursor().shape(), Qt::ArrowCursor);
    press(g, g.markerRect(6).center());
    EXPECT_EQ(spy.count(), 0) << "a press alone changes nothing";
    EXPECT_TRUE(g.readoutVisible());
    EXPECT_EQ(g.cursor().shape(), Qt::SizeAllCursor);
    move(g, {xOf(g, 5000), yOfTenths(g, 40)});
    move(g, {xOf(g, 8000), yOfTenths(g, -60)});
    ASSERT_EQ(spy.count(), 2);
    const QList<QVariant> last = spy.at(1);
    EXPECT_EQ(last[0].toInt(), 6);
    EXPECT_NEAR(last[1].toFloat(), 8000.0f, 0.2f);
    EXPECT_FLOAT_EQ(last[2].toFloat(), 2.0f);
    EXPECT_FLOAT_EQ(last[3].toFloat(), -6.0f);
    EXPECT_EQ(last[4].toInt(), 1);
    EXPECT_TRUE(g.readoutText().startsWith("F:799") || g.readoutText().startsWith("F:800"));
    EXPECT_TRUE(g.readoutText().endsWith("\nG:-6.0\nQ:2.0"));
    release(g, {0, 0});
    EXPECT_FALSE(g.isDragging());
    EXPECT_FALSE(g.readoutVisible());
    EXPECT_EQ(g.cursor().shape(), Qt::ArrowCursor) << "the default pointer again";
    move(g, {xOf(g, 100), yOfTenths(g, 0)});
    EXPECT_EQ(spy.count(), 2) << "no drag after release";
}

// Catches drags started by other buttons or outside any marker, and hidden markers taking
// presses.
TEST_F(Graph, OnlyLeftPressOnAVisibleMarkerStartsADrag) {
    press(g, g.markerRect(2).center(), Qt::RightButton);
    EXPECT_FALSE(g.isDragging());
    press(g, {500, 250});
    EXPECT_FALSE(g.isDragging());
    g.setEQ7visible(false);
    press(g, g.markerRect(7).center());
    EXPECT_FALSE(g.isDragging());
    g.setEQ7visible(true);
    press(g, g.markerRect(7).center());
    EXPECT_EQ(g.dragBand(), 7);
    release(g, {0, 0}, Qt::RightButton);
    EXPECT_FALSE(g.isDragging()) << "release of any button ends the drag";
}

// Catches a drag that survives losing the graph (disabled, hidden, grab lost, its band gone in
// a rebuild) or leaves the move pointer behind, and one ended by a rebuild that keeps its band.
TEST_F(Graph, DragEndsWhenTheGraphGoesAway) {
    press(g, g.markerRect(1).center());
    g.setGraphEnabled(false);
    EXPECT_FALSE(g.isDragging());
    EXPECT_EQ(g.cursor().shape(), Qt::ArrowCursor);
    g.setGraphEnabled(true);
    press(g, g.markerRect(1).center());
    g.hide();
    EXPECT_FALSE(g.isDragging());
    g.show();
    press(g, g.markerRect(1).center());
    send(g, QEvent::MouseMove, {300, 100}, Qt::NoButton, Qt::NoButton);
    EXPECT_FALSE(g.isDragging()) << "a move with no button held means the release was lost";
    press(g, g.markerRect(1).center());
    g.setEQnum(5);
    EXPECT_TRUE(g.isDragging()) << "the dragged band is still there";
    release(g, {0, 0});
    press(g, g.markerRect(5).center());
    g.setEQnum(2);
    EXPECT_FALSE(g.isDragging());
    move(g, {300, 100});
    EXPECT_FLOAT_EQ(g.band(2).F, 600.0f);
}

// Catches a move delivered from inside a PEQOUT receiver being handled re-entrantly.
TEST_F(Graph, MoveDuringAMoveIsDropped) {
    int reports = 0;
    QObject::connect(&g, &EQline::PEQOUT, &g, [&](int, float, float, float, int) {
        ++reports;
        move(g, {xOf(g, 300), yOfTenths(g, 0)});
    });
    dragBand(5, {xOf(g, 3000), yOfTenths(g, 50)});
    EXPECT_EQ(reports, 1);
    EXPECT_NEAR(g.band(5).F, 3000.0f, 0.2f);
    release(g, {0, 0});
}

// Catches division by a zero scale (NaN gains, inf frequencies) when there is no plot area.
TEST(GraphWithoutPlot, DragsAreIgnored) {
    EQline g;
    g.resize(40, 20);
    g.setEQnum(2);
    EXPECT_FALSE(g.hasPlotArea());
    QSignalSpy spy(&g, &EQline::PEQOUT);
    press(g, {5, 5});
    move(g, {10, 10});
    EXPECT_FALSE(g.isDragging());
    EXPECT_EQ(spy.count(), 0);
    g.grab();
}
