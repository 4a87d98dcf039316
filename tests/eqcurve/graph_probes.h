#pragma once
// Probes over grabbed pictures of the response graph: the graph's colours, its layout in
// widget pixels (15 twips each), and what a probe expects at its place in a picture.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace graph_probes {

inline const QColor ControlBackground(40, 40, 40);
inline const QColor PlotBackground(20, 20, 20);
inline const QColor GridColour(64, 64, 64);
inline const QColor BorderColour(96, 96, 96);
inline const QColor CurveColour(0, 255, 0);
inline const QColor ZeroLineColour(255, 255, 0);
inline const QColor LabelColour(160, 160, 160);
inline const QColor ReadoutColour(255, 255, 0);
inline const QColor BypassColour(224, 224, 224);

// The layout of a graph of the given size, in widget pixels (15 twips each). The grid step is
// rounded with halves to even, as nearbyint does in the default rounding mode.
struct Layout {
    explicit Layout(QSize size)
        : plotW(size.width() * 15.0 - 670.0), plotH(size.height() * 15.0 - 450.0),
          scaleX(plotW / 3.0 / std::log(10.0)), scaleY(plotH / 36.0),
          step(std::nearbyint(plotH / 12.0)) {}
    double x(double f) const { return (550.0 + std::log(f / 20.0) * scaleX) / 15.0; }
    double y(double dB) const { return (120.0 + (12.0 - dB) * scaleY) / 15.0; }
    // Row of grid line i (i * step below the plot's top) and the top of its dB label.
    int gridRow(int i) const { return int(std::floor((120.0 + i * step) / 15.0)); }
    double labelTop(int i) const { return (120.0 - 100.0 + i * step) / 15.0; }
    double plotW, plotH, scaleX, scaleY, step;
};

inline QRect at(double x, double y) {
    return {int(std::floor(x)), int(std::floor(y)), 1, 1};
}

inline QRect around(double x, double y, int dx, int dy) {
    return {int(std::floor(x)) - dx, int(std::floor(y)) - dy, 2 * dx + 1, 2 * dy + 1};
}

enum class Kind {
    Is,        // every pixel of the area has the colour
    Has,       // some pixel of the area has it
    Lacks,     // no pixel of the area has it
    Tinted,    // the brightest pixel of the area is the colour, perhaps dimmed (thin text)
    Darkened,  // under the drag read-out's box: a third of the picture without the drag
    Unchanged, // as in the picture without the drag
    Text,      // as `text` drawn in the colour by the Text fields below
    Columns,   // grid lines cross the area (one row) at the columns `xs` and nowhere else
    CentredX,  // the pixels of the colour in the area are centred on it horizontally
};

struct Probe {
    const char* what;
    const char* scene;
    QRect area;
    Kind kind;
    QColor colour;
    QString text = {};
    QRectF textBox = {};
    int textFlags = Qt::AlignLeft | Qt::AlignTop;
    std::vector<double> xs = {};
    // The font (the graph's Tahoma list) and the ground: the control's background, or the
    // picture's own colour at textGround (a badge's fill).
    int textPixels = 10;
    bool textBold = false;
    QPoint textGround = {-1, -1};
};

// Pictures by scene name; a drag scene's picture without the drag is "<scene> released".
using Shots = std::map<std::string, QImage>;

// Checks one probe with the test framework's expectations.
void check(const Probe& probe, const Shots& shots);

} // namespace graph_probes
