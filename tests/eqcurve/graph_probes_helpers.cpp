#include "eqcurve/graph_probes.h"

#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>

namespace graph_probes {

namespace {

bool near(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// The text of a label or badge as it should read.
QImage expectedText(const QImage& picture, const Probe& probe) {
    QImage image(picture.size(), QImage::Format_RGB32);
    image.fill(probe.textGround.x() >= 0 ? picture.pixelColor(probe.textGround)
                                         : ControlBackground);
    QPainter p(&image);
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(probe.textPixels);
    font.setBold(probe.textBold);
    p.setFont(font);
    p.setPen(probe.colour);
    p.drawText(probe.textBox, probe.textFlags, probe.text);
    return image;
}

} // namespace

using Shots = std::map<std::string, QImage>;

void check(const Probe& probe, const Shots& shots) {
    SCOPED_TRACE(testing::Message() << probe.scene << ": " << probe.what << " at " << probe.area.x()
                                    << "," << probe.area.y() << " " << probe.text.toStdString());
    const QImage& image = shots.at(probe.scene);
    const QRect area = probe.area.intersected(image.rect());
    ASSERT_FALSE(area.isEmpty());
    QImage other; // the picture without the drag, or the label as it should read
    if (probe.kind == Kind::Darkened || probe.kind == Kind::Unchanged) {
        other = shots.at(std::string(probe.scene) + " released");
    } else if (probe.kind == Kind::Text) {
        other = expectedText(image, probe);
    }
    int matching = 0;
    QColor brightest(Qt::black);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const QColor o = other.isNull() ? QColor() : other.pixelColor(x, y);
            const std::string where = std::to_string(x) + "," + std::to_string(y) + " " +
                                      c.name().toStdString() + " / " + o.name().toStdString();
            matching += near(c, probe.colour, 0) ? 1 : 0;
            if (c.lightness() > brightest.lightness()) {
                brightest = c;
            }
            if (probe.kind == Kind::Is) {
                EXPECT_TRUE(near(c, probe.colour, 0)) << where;
            } else if (probe.kind == Kind::Darkened) {
                EXPECT_TRUE(near(c, QColor(o.red() / 3, o.green() / 3, o.blue() / 3), 3)) << where;
            } else if (probe.kind == Kind::Unchanged) {
                EXPECT_EQ(c, o) << where;
            } else if (probe.kind == Kind::Text) {
                EXPECT_TRUE(near(c, o, 0)) << where;
            }
        }
    }
    if (probe.kind == Kind::Columns) {
        std::vector<int> found;
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, area.top()) == probe.colour) {
                found.push_back(x);
            }
        }
        const auto close = [](double a, double b) { return std::fabs(a - b) <= 1.0; };
        for (double want : probe.xs) {
            EXPECT_TRUE(std::any_of(found.begin(), found.end(),
                                    [&](int x) { return close(x, std::floor(want)); }))
                << "no line at " << want;
        }
        for (int x : found) {
            EXPECT_TRUE(std::any_of(probe.xs.begin(), probe.xs.end(),
                                    [&](double want) { return close(x, std::floor(want)); }))
                << "stray line at " << x;
        }
    }
    if (probe.kind == Kind::CentredX) {
        int left = area.right(), right = area.left();
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (image.pixelColor(x, y) == probe.colour) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        ASSERT_LE(left, right) << "nothing of the colour";
        EXPECT_NEAR((left + right + 1) / 2.0, area.left() + area.width() / 2.0, 2.0);
    }
    if (probe.kind == Kind::Has) {
        EXPECT_GT(matching, 0);
    } else if (probe.kind == Kind::Lacks) {
        EXPECT_EQ(matching, 0);
    } else if (probe.kind == Kind::Tinted) {
        const QColor& want = probe.colour;
        const double k = double(std::max({brightest.red(), brightest.green(), brightest.blue()})) /
                         std::max({want.red(), want.green(), want.blue()});
        EXPECT_GT(k, 0.6) << brightest.name().toStdString();
        const QColor dimmed(int(want.red() * k), int(want.green() * k), int(want.blue() * k));
        EXPECT_TRUE(near(brightest, dimmed, 6)) << brightest.name().toStdString();
    }
}

} // namespace graph_probes
