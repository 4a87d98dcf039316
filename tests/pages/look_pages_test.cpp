// The pages' fonts, fixed in pixels: the captions at 12 px wherever a page stands, and
// "EQ BYPASS" over a bypassed graph at 36 pt bold (48 px at 15 twips a pixel) in a face of
// Tahoma's width, as the band strips use, so that the words keep their designed span.

#include "eqcurve/eq_line.h"
#include "pages/page_set.h"
#include "pages/volume_frame.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QWidget>

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace korvanex;

namespace {

// The light grey of the words, without the white of other texts or the grey of the labels.
QRect bypassInk(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() == c.green() && c.green() == c.blue() && c.red() >= 200 && c.red() < 250)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

} // namespace

// Catches the words in the wider fallback face (DejaVu Sans before Nimbus Sans), not bold, or
// at another size.
TEST(BypassWords, TahomaWidthBoldFortyEightPixelsInsideThePlot) {
    EQline graph;
    graph.resize(1033, 305);
    graph.setEQ_BYPASS(true);
    const QRect ink = bypassInk(graph.grab().toImage().convertToFormat(QImage::Format_RGB32));
    ASSERT_FALSE(ink.isEmpty());

    // The same words drawn alone in the expected font, measured the same way.
    QFont tahomaWidth;
    tahomaWidth.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Nimbus Sans")});
    tahomaWidth.setPixelSize(48);
    tahomaWidth.setBold(true);
    QImage alone(400, 100, QImage::Format_RGB32);
    alone.fill(QColor(20, 20, 20));
    {
        QPainter p(&alone);
        p.setFont(tahomaWidth);
        p.setPen(QColor(224, 224, 224));
        p.drawText(alone.rect(), Qt::AlignCenter, QStringLiteral("EQ BYPASS"));
    }
    const QRect expected = bypassInk(alone);
    EXPECT_NEAR(ink.width(), expected.width(), 1);
    EXPECT_NEAR(ink.height(), expected.height(), 1);
    EXPECT_TRUE(graph.plotRect().contains(QRectF(ink)));
}

// Catches a page or the volume box whose captions follow the desktop's point size when it
// stands outside the main window.
TEST(PageFonts, CaptionsAreTwelvePixelsUnderALargeDesktopFont) {
    const QFont saved = QApplication::font();
    QFont desktop = saved;
    desktop.setPointSize(14);
    QApplication::setFont(desktop);
    {
        QWidget host;
        PageSet pages(&host);
        std::vector<QWidget*> roots(pages.Picture1.begin(), pages.Picture1.end());
        roots.push_back(pages.Frame1);
        for (QWidget* root : roots) {
            for (QLabel* l : root->findChildren<QLabel*>()) {
                EXPECT_EQ(QFontInfo(l->font()).pixelSize(), 12) << l->text().toStdString();
                EXPECT_EQ(QFontInfo(l->font()).family(), QStringLiteral("Noto Sans CJK SC"))
                    << l->text().toStdString();
            }
        }
    }
    QApplication::setFont(saved);
}
