// Pictures of the graph at the main window's size. Set KORVANEX_GRAPH_PNG_DIR to keep them
// for a look by eye.
#include "eqcurve/eq_line.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <gtest/gtest.h>

using korvanex::EQline;

namespace {

QImage grabState(EQline& g, const char* name) {
    QImage image = g.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QByteArray dir = qgetenv("KORVANEX_GRAPH_PNG_DIR");
    if (!dir.isEmpty()) {
        image.save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
    }
    return image;
}

int countPixels(const QImage& image, QRect area, bool (*match)(QColor)) {
    int n = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += match(image.pixelColor(x, y)) ? 1 : 0;
        }
    }
    return n;
}

bool isCurve(QColor c) {
    return c.green() > 200 && c.red() < 90 && c.blue() < 90;
}
bool isLabelText(QColor c) {
    return c.red() > 80 && c.red() == c.green() && c.red() == c.blue();
}
bool isReadout(QColor c) {
    return c.red() > 200 && c.green() > 200 && c.blue() < 80;
}

void startupMusic(EQline& g) {
    g.resize(1033, 305);
    g.setEQnum(9);
    g.setLPEnabel(false);
    g.setHPEnabel(false);
    const float freqs[] = {60, 100, 200, 300, 500, 1000, 2000, 4000, 6300, 10000};
    for (int i = 0; i < 10; ++i) {
        g.setVal(i, freqs[i], 0, 1);
    }
}

} // namespace

// Catches a curve that is not painted, labels pushed off the control's right edge, the
// bypass label missing, or the read-out not painted during a drag.
TEST(EqLineLook, StatesRender) {
    EQline g;
    startupMusic(g);
    const QImage flat = grabState(g, "flat");
    EXPECT_GT(countPixels(flat, flat.rect(), isCurve), 900);
    const QRect belowPlot(0, 287, 1033, 18);
    EXPECT_GT(countPixels(flat, QRect(985, 287, 47, 18), isLabelText), 20) << "20KHz label";
    EXPECT_EQ(countPixels(flat, QRect(1032, 0, 1, 305), isLabelText), 0) << "label cut off";
    EXPECT_GT(countPixels(flat, QRect(0, 0, 36, 305), isLabelText), 100) << "dB labels";

    g.setLPEnabel(true);
    g.setHPEnabel(true);
    g.setLTY(6);
    g.setLP_F(8000);
    g.setHP_F(40);
    grabState(g, "cutoffs");
    g.setDB(2, 9);
    g.setDB(5, -8);
    g.setQ(5, 0.7f);
    g.setT(9, 1);
    g.setDB(9, 6);
    g.setT(0, 2);
    g.setDB(0, 4);
    const QImage boosted = grabState(g, "boosted");
    g.setEQ_BYPASS(true);
    const QImage bypass = grabState(g, "bypass");
    const QRect bypassBox(300, 130, 430, 70);
    EXPECT_GT(countPixels(bypass, bypassBox, isLabelText) -
                  countPixels(boosted, bypassBox, isLabelText),
              1000);
    g.setEQ_BYPASS(false);

    g.show();
    const QPointF from = g.markerRect(9).center();
    QMouseEvent pressEvent(QEvent::MouseButtonPress, from, g.mapToGlobal(from), Qt::LeftButton,
                           Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&g, &pressEvent);
    const QPointF to(1000, 60);
    QMouseEvent moveEvent(QEvent::MouseMove, to, g.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(&g, &moveEvent);
    const QImage dragging = grabState(g, "dragging");
    EXPECT_GT(countPixels(dragging, QRect(940, 8, 85, 120), isReadout), 40) << "read-out";
}
