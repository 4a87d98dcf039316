// Pictures of the graph probed at the places its layout puts things: plot 550 twips from the
// left and 120 from the top, 670 and 450 twips smaller than the control, three decades across,
// +12 to -24 dB down, grid lines every round(height / 12) twips. Set KORVANEX_GRAPH_PNG_DIR to
// keep the pictures for a look by eye.
#include "eqcurve/eq_line.h"
#include "eqcurve/graph_probes.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <vector>

using korvanex::EQline;
using namespace graph_probes;

namespace {

QImage shot(EQline& g, const char* name) {
    QImage image = g.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QByteArray dir = qgetenv("KORVANEX_GRAPH_PNG_DIR");
    if (!dir.isEmpty()) {
        image.save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
    }
    return image;
}

void mouse(EQline& g, QEvent::Type type, QPointF pos, Qt::MouseButtons buttons) {
    QMouseEvent event(type, pos, g.mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&g, &event);
}

// A flat 10-band graph at the main window's size.
void build(EQline& g) {
    g.resize(1033, 305);
    g.setEQnum(9);
    g.show();
}

} // namespace

// Catches a wrong grid step (not rounded, or rounded halves up) or grid frequencies, dB and
// frequency labels with the wrong text or place, badges with the wrong caption or number, a
// curve drawn from the point left of the plot, read-outs off their offsets from the marker,
// colours changed, lines thicker than a pixel, scales not recomputed on resize, the bypass
// label off its place, missing or always shown, and labels pushed off the control's edge.
TEST(EqLineLook, PixelsAtKnownPlaces) {
    Shots shots;
    std::vector<Probe> probes;
    const Layout main({1033, 305});

    // Flat curve on the grid at the main window's size.
    struct {
        QRectF lpf, hpf, band1, band10;
    } flat;
    {
        EQline g;
        build(g);
        shots["flat"] = shot(g, "flat");
        flat = {g.cutoffMarkerRect(0), g.cutoffMarkerRect(1), g.markerRect(0), g.markerRect(9)};
    }
    probes.push_back({"plot background", "flat", around(main.x(25), main.y(10.5), 2, 2), Kind::Is,
                      PlotBackground});
    probes.push_back(
        {"flat curve on 0 dB", "flat", at(main.x(6500), main.y(0)), Kind::Is, CurveColour});
    for (int i : {1, 2, 3, 5, 6, 7, 8, 9, 10, 11}) {
        probes.push_back(
            {"grid line", "flat", at(main.x(25), main.gridRow(i)), Kind::Is, GridColour});
        probes.push_back({"grid line one pixel", "flat",
                          QRect(int(main.x(25)), main.gridRow(i) - 1, 1, 1), Kind::Is,
                          PlotBackground});
        probes.push_back({"grid line one pixel", "flat",
                          QRect(int(main.x(25)), main.gridRow(i) + 1, 1, 1), Kind::Is,
                          PlotBackground});
    }
    // The border frame: on the plot's left edge, its 1-pixel line just inside a height 30 twips
    // short of the plot's.
    probes.push_back(
        {"border left", "flat", around(550.0 / 15.0, main.y(10.5), 1, 0), Kind::Has, BorderColour});
    probes.push_back(
        {"border one pixel", "flat", at(550.0 / 15.0 + 2, main.y(10.5)), Kind::Is, PlotBackground});
    probes.push_back({"border bottom", "flat",
                      around(main.x(25), (120 + main.plotH - 30) / 15 - 1, 0, 1), Kind::Has,
                      BorderColour});
    const auto text = [&](const char* what, QRect area, const char* label, QRectF box, int flags,
                          QColor colour = LabelColour) -> Probe& {
        probes.push_back({what, "flat", area, Kind::Text, colour, QString::fromUtf8(label), box,
                          flags | Qt::TextDontClip});
        return probes.back();
    };
    const char* labels[] = {"12dB", "6dB", "0dB", "-6dB", "-12dB", "-18dB", "-24dB"};
    for (int k = 0; k < 7; ++k) {
        // Right-aligned 3 px left of the plot, 100 twips above their grid line.
        const double top = main.labelTop(2 * k);
        text("dB label", QRect(0, int(top) - 2, 36, 16), labels[k],
             QRectF(0, top, 550.0 / 15.0 - 3, 30), Qt::AlignRight | Qt::AlignTop);
    }
    // Below the plot, 130 twips left of their line (20 Hz: 20 twips left of the plot).
    const std::pair<const char*, double> frequencyLabels[] = {
        {"20Hz", 20},     {"50Hz", 50},   {"100Hz", 100}, {"200Hz", 200},  {"500Hz", 500},
        {"1000Hz", 1000}, {"2KHz", 2000}, {"5KHz", 5000}, {"10KHz", 10000}};
    for (const auto& [label, f] : frequencyLabels) {
        const double left = f == 20 ? 530.0 / 15.0 : main.x(f) - 130.0 / 15.0;
        const double top = (120.0 + main.plotH + 50.0) / 15.0;
        text("frequency label", QRect(int(left) - 2, int(top) - 2, 48, 18), label,
             QRectF(left, top, 200, 30), Qt::AlignLeft | Qt::AlignTop);
    }
    // The last one would stand past the control's right edge: it ends one pixel inside.
    const double labelTop = (120.0 + main.plotH + 50.0) / 15.0;
    text("20KHz label", QRect(970, int(labelTop) - 2, 63, 18), "20KHz",
         QRectF(0, labelTop, 1033 - 1, 30), Qt::AlignRight | Qt::AlignTop);
    // Badges: the cut-off markers read LPF and HPF, the band markers their number from 1.
    const auto badge = [&](const char* what, QRectF rect, const char* label, int pixels,
                           int halfWidth, int halfHeight) {
        const QPointF c = rect.center();
        Probe& p = text(what, around(c.x(), c.y(), halfWidth, halfHeight), label, rect,
                        Qt::AlignCenter, Qt::white);
        p.textPixels = pixels;
        p.textBold = true;
        p.textGround = QPoint(int(c.x()), int(c.y()) + 9);
    };
    badge("low-pass badge", flat.lpf, "LPF", 8, 9, 4);
    badge("high-pass badge", flat.hpf, "HPF", 8, 9, 4);
    badge("first band's badge", flat.band1, "1", 12, 6, 6);
    badge("tenth band's badge", flat.band10, "10", 12, 8, 6);
    std::vector<double> gridXs;
    for (double decade : {10.0, 100.0, 1000.0}) {
        for (int m = decade == 10.0 ? 3 : 1; m <= 9; ++m) {
            gridXs.push_back(main.x(m * decade));
        }
    }
    gridXs.push_back(main.x(10000));
    probes.push_back({"vertical grid lines",
                      "flat",
                      QRect(int(main.x(21)), int(main.y(10.5)), int(main.x(19000) - main.x(21)), 1),
                      Kind::Columns,
                      GridColour,
                      {},
                      {},
                      Qt::AlignLeft,
                      gridXs});
    probes.push_back({"odd grid lines unlabelled", "flat",
                      QRect(0, int(main.labelTop(3)) + 1, 36, 8), Kind::Is, ControlBackground});
    probes.push_back({"grid clipped to the plot", "flat", at(main.x(25), main.gridRow(12)),
                      Kind::Is, ControlBackground});
    probes.push_back(
        {"nothing at the right edge", "flat", QRect(1032, 0, 1, 305), Kind::Is, ControlBackground});

    // A notch on the first curve point (left of the plot) and a steep low-pass at 2 kHz.
    float firstDb = 0, secondDb = 0;
    {
        EQline g;
        build(g);
        g.setVal(0, EQline::N24_F(8), -12, 15);
        g.setLTY(7);
        g.setLP_F(2000);
        firstDb = g.curve()[0];
        secondDb = g.curve()[1];
        shots["shaped"] = shot(g, "shaped");
        g.setEQ_BYPASS(true);
        shots["bypass"] = shot(g, "bypass");
    }
    const QPointF p1(main.x(EQline::N24_F(8)), main.y(firstDb));
    const QPointF p2(main.x(EQline::N24_F(9)), main.y(secondDb));
    // Where a segment from the first point would cross the plot's first whole column.
    const double crossX = std::ceil(550.0 / 15.0) + 0.5;
    const double crossY = p1.y() + (crossX - p1.x()) / (p2.x() - p1.x()) * (p2.y() - p1.y());
    ASSERT_LT(p1.x(), 550.0 / 15.0);
    ASSERT_GT(std::fabs(crossY - p2.y()), 6.0) << "the scene needs a steep first segment";
    probes.push_back({"no segment from the first point", "shaped", around(crossX, crossY, 0, 2),
                      Kind::Lacks, CurveColour});
    probes.push_back({"curve from the second point", "shaped", around(p2.x(), p2.y(), 1, 1),
                      Kind::Has, CurveColour});
    probes.push_back({"at the second point's own gain", "shaped", around(p2.x(), p1.y(), 1, 1),
                      Kind::Lacks, CurveColour});
    probes.push_back(
        {"0 dB line", "shaped", at(main.x(7500), main.y(0)), Kind::Is, ZeroLineColour});
    for (int dy : {-1, 1}) {
        probes.push_back({"0 dB line is one pixel", "shaped",
                          at(main.x(7500), std::floor(main.y(0)) + dy), Kind::Is, PlotBackground});
    }
    // "EQ BYPASS" centred in its box: 4065 twips wide, 1700 twips left of the plot's middle,
    // 2040 twips below its top; widened on both sides alike, as the text overflows it.
    const double boxLeft = (550 + main.plotW / 2 - 1700) / 15, boxWidth = 4065.0 / 15;
    const QRect bypassBox(int(boxLeft) - 60, int((120 + 2040) / 15.0), int(boxWidth) + 120,
                          int(870 / 15.0));
    probes.push_back({"bypass label", "bypass", bypassBox, Kind::CentredX, BypassColour});
    probes.push_back({"no bypass label", "shaped", bypassBox, Kind::Lacks, BypassColour});

    // Built at the main window's size, then made smaller: grid, curve and axes follow.
    const Layout small({720, 240}); // step 3150 / 12 = 262.5 twips, rounded to 262
    {
        EQline g;
        build(g);
        g.resize(720, 240);
        shots["resized"] = shot(g, "resized");
    }
    for (int i : {1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12}) {
        probes.push_back({"grid line after resize", "resized", at(small.x(25), small.gridRow(i)),
                          Kind::Is, GridColour});
    }
    probes.push_back(
        {"curve after resize", "resized", at(small.x(6500), small.y(0)), Kind::Is, CurveColour});
    probes.push_back({"1 kHz line after resize", "resized",
                      around(small.x(1000), small.y(10.5), 1, 0), Kind::Has, GridColour});

    // The read-out while dragging: beside the marker by the band's number and gain's sign.
    struct Drag {
        const char* scene;
        int band;
        double f;
        int tenths;
        double dx, dy; // twips from the marker's top-left corner
    };
    const Drag drags[] = {{"drag boost", 3, 300, 40, 30, 300},
                          {"drag flat", 3, 300, 0, 30, 150},
                          {"drag cut", 3, 300, -40, 30, -600},
                          {"drag tenth band", 9, 3000, 40, -50, 300}};
    for (const Drag& d : drags) {
        EQline g;
        build(g);
        const QPointF to(main.x(d.f), main.y(d.tenths / 10.0));
        mouse(g, QEvent::MouseButtonPress, g.markerRect(d.band).center(), Qt::LeftButton);
        mouse(g, QEvent::MouseMove, to, Qt::LeftButton);
        ASSERT_FLOAT_EQ(g.band(d.band).dB, float(d.tenths) / 10.0f) << d.scene;
        const QPointF corner = g.markerRect(d.band).topLeft() + QPointF(d.dx, d.dy) / 15.0;
        shots[d.scene] = shot(g, d.scene);
        mouse(g, QEvent::MouseButtonRelease, to, Qt::NoButton);
        shots[std::string(d.scene) + " released"] = shot(g, "released");
        const double l = corner.x(), t = corner.y();
        const auto probe = [&](const char* what, double x, double y, Kind kind) {
            probes.push_back({what, d.scene, at(x, y), kind, {}});
        };
        probe("read-out top edge", std::ceil(l) + 4, std::ceil(t), Kind::Darkened);
        probe("above the read-out", std::ceil(l) + 4, std::floor(t) - 1, Kind::Unchanged);
        probe("read-out left edge", std::ceil(l), std::ceil(t) + 4, Kind::Darkened);
        probe("left of the read-out", std::floor(l) - 1, std::ceil(t) + 4, Kind::Unchanged);
        probes.push_back({"read-out text", d.scene,
                          QRect(int(std::ceil(l)) + 3, int(std::ceil(t)) + 2, 20, 30), Kind::Tinted,
                          ReadoutColour});
    }

    for (const Probe& probe : probes) {
        check(probe, shots);
    }
}
