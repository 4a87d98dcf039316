// Look of the response graph: plot layout, cached grid with its scales and labels, curve,
// band and cut-off markers, the drag read-out and the bypass label. Everything is painted from
// the model; the grid picture is rebuilt only when the size changes.
#include "core/numbers.h"
#include "eqcurve/eq_line.h"
#include "eqcurve/eq_line_geometry.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QResizeEvent>
#include <cmath>
#include <vector>

namespace korvanex {

using namespace eqgeometry;

namespace {

const QColor ControlBackground(40, 40, 40);
const QColor PlotBackground(20, 20, 20);
const QColor GridColour(64, 64, 64);
const QColor BorderColour(96, 96, 96);
const QColor LabelColour(160, 160, 160);
const QColor CurveColour(0, 255, 0);
const QColor ZeroLineColour(255, 255, 0);
const QColor ReadoutColour(255, 255, 0);
const QColor BypassColour(224, 224, 224);
const QColor CutoffBadgeColour(30, 110, 210);

// Point sizes of the window's fonts turned into pixels at 15 twips per pixel (20 per point),
// so that the graph looks the same on every screen.
QFont graphFont(double points, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(static_cast<int>(std::lround(points * 20.0 / TwipsPerPixel)));
    font.setBold(bold);
    return font;
}

// "EQ BYPASS" at 36 pt bold: Nimbus Sans stands in for Tahoma where it is missing, since the
// next fallback is wide enough to run the words past their box.
QFont bypassFont() {
    QFont font = graphFont(36, true);
    font.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
    return font;
}

QColor bandBadgeColour(int band) {
    return QColor::fromHsv((20 + band * 47) % 360, 190, 215);
}

void drawBadge(QPainter& p, const QRectF& rect, const QColor& fill, const QString& text,
               int fontPixels) {
    p.setPen(QPen(QColor(240, 240, 240), 1.2));
    p.setBrush(fill);
    p.drawEllipse(rect.adjusted(0.8, 0.8, -0.8, -0.8));
    QFont font = graphFont(7.5, true);
    font.setPixelSize(fontPixels);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(rect, Qt::AlignCenter | Qt::TextDontClip, text);
}

// Text of the frequency grid label of grid line i, empty when the line carries none.
QString frequencyLabel(int i) {
    int d = i > 10 ? i + 1 : i;
    int k = 1;
    while (d > 10) {
        d -= 10;
        ++k;
    }
    if (d != 2 && d != 5 && d != 10) {
        return {};
    }
    if (k < 3) {
        return QString::number(d * static_cast<int>(std::pow(10, k))) + QStringLiteral("Hz");
    }
    return QString::number(d * static_cast<int>(std::pow(10, k - 3))) + QStringLiteral("KHz");
}

float gridLineFrequency(int i) {
    if (i < 10) {
        return 10.0f * i;
    }
    if (i < 20) {
        return 100.0f * (i - 9);
    }
    if (i < 30) {
        return 1000.0f * (i - 19);
    }
    return 10000.0f * (i - 29);
}

} // namespace

// ---- layout ----------------------------------------------------------------------------

static float plotWidthTwips(const QWidget* w) {
    return static_cast<float>(w->width()) * TwipsPerPixel - PlotWidthMargin;
}
static float plotHeightTwips(const QWidget* w) {
    return static_cast<float>(w->height()) * TwipsPerPixel - PlotHeightMargin;
}

bool EQline::hasPlotArea() const {
    return plotWidthTwips(this) > 0 && plotHeightTwips(this) > 0;
}

QRectF EQline::plotRect() const {
    if (!hasPlotArea()) {
        return {};
    }
    return {px(PlotLeft), px(PlotTop), px(plotWidthTwips(this)), px(plotHeightTwips(this))};
}

void EQline::updateScales() {
    if (!hasPlotArea()) {
        scaleX_ = 0.0f;
        scaleY_ = 0.0f;
        return;
    }
    scaleX_ = static_cast<float>(plotWidthTwips(this) / 3.0 / std::log(10.0));
    scaleY_ = plotHeightTwips(this) / 36.0f;
}

void EQline::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateScales();
    gridCache_ = QPixmap();
}

// ---- markers and read-out --------------------------------------------------------------

bool EQline::markerVisible(int Index) const {
    if (!hasBand(Index) || !markerShown_[Index] || !hasPlotArea()) {
        return false;
    }
    const Band& b = bands_[Index].values;
    return std::isfinite(b.F) && b.F > 0.0f && std::isfinite(b.dB);
}

QRectF EQline::markerRect(int Index) const {
    if (!hasBand(Index)) {
        return {};
    }
    const Band& b = bands_[Index].values;
    const float left = freqToX(b.F, scaleX_) - MarkerSize / 2;
    const float top = gainToY(b.dB, scaleY_) - MarkerSize / 2;
    return {px(PlotLeft + left), px(PlotTop + top), px(MarkerSize), px(MarkerSize)};
}

QRectF EQline::cutoffMarkerRect(int side) const {
    const float left = freqToX(cutoffFreq(side), scaleX_) - MarkerSize / 2;
    const float top = gainToY(0.0f, scaleY_) - MarkerSize / 2;
    return {px(PlotLeft + left), px(PlotTop + top), px(MarkerSize), px(MarkerSize)};
}

QString EQline::readoutText() const {
    if (!hasBand(readoutBand_)) {
        return {};
    }
    const Band& b = bands_[readoutBand_].values;
    QString f;
    if (std::isfinite(b.F) && std::fabs(b.F) < 1.0e9f) {
        f = QString::number(static_cast<long long>(std::trunc(b.F)));
    } else {
        f = formatGeneral(b.F);
    }
    return QStringLiteral("F:") + f + QStringLiteral("\nG:") + formatFixed(b.dB, 1) +
           QStringLiteral("\nQ:") + formatFixed(b.Q, 1);
}

// ---- painting --------------------------------------------------------------------------

void EQline::rebuildGridCache() {
    const qreal dpr = devicePixelRatioF();
    gridCache_ = QPixmap((QSizeF(size()) * dpr).toSize());
    gridCache_.setDevicePixelRatio(dpr);
    gridCache_.fill(ControlBackground);
    if (!hasPlotArea()) {
        return;
    }
    QPainter p(&gridCache_);
    const QRectF plot = plotRect();
    const float plotW = plotWidthTwips(this);
    const float plotH = plotHeightTwips(this);
    p.fillRect(plot, PlotBackground);

    // Grid lines every 3 dB and at 1-2-...-9 steps of each decade, snapped to pixel centres.
    p.save();
    p.setClipRect(plot);
    p.translate(plot.topLeft());
    p.setPen(QPen(GridColour, 1));
    const auto crisp = [](float twips) { return std::floor(px(twips)) + 0.5; };
    const double step = roundHalfEven(plotH / 12.0);
    for (int i = 1; i <= 12; ++i) {
        const double y = crisp(static_cast<float>(i * step));
        p.drawLine(QPointF(0, y), QPointF(plot.width(), y));
    }
    for (int i = 3; i <= 32; ++i) {
        const double x = crisp(freqToX(gridLineFrequency(i), scaleX_));
        p.drawLine(QPointF(x, 0), QPointF(x, plot.height()));
    }
    p.setPen(QPen(BorderColour, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, std::max(0.0f, px(plotW - 30.0f) - 1.0f),
                      std::max(0.0f, px(plotH - 30.0f) - 1.0f)));
    p.restore();

    // Labels: one every 6 dB right-aligned against the plot, frequencies below it.
    const QFont font = graphFont(7.5);
    const QFontMetricsF metrics(font);
    p.setFont(font);
    p.setPen(LabelColour);
    const qreal lineHeight = metrics.height();
    for (int i = 0; i <= 12; i += 2) {
        const qreal top = px(PlotTop - 100.0f + static_cast<float>(i * step));
        const QString text = QString::number(12 - 3 * i) + QStringLiteral("dB");
        p.drawText(QRectF(0, top, plot.left() - 3, lineHeight), Qt::AlignRight | Qt::AlignTop,
                   text);
    }
    const qreal labelTop = px(PlotTop + plotH + 50.0f);
    const auto drawFrequencyLabel = [&](qreal left, const QString& text) {
        const qreal w = metrics.horizontalAdvance(text);
        left = std::clamp(left, 0.0, std::max(0.0, width() - 1.0 - w));
        p.drawText(QRectF(left, labelTop, w + 1, lineHeight), Qt::AlignLeft | Qt::AlignTop, text);
    };
    drawFrequencyLabel(px(PlotLeft - 20.0f), QStringLiteral("20Hz"));
    for (int i = 3; i <= 32; ++i) {
        const QString text = frequencyLabel(i);
        if (!text.isEmpty()) {
            const float x = freqToX(gridLineFrequency(i), scaleX_);
            drawFrequencyLabel(px(x + PlotLeft - 130.0f), text);
        }
    }
}

void EQline::paintEvent(QPaintEvent* event) {
    (void)event;
    QPainter p(this);
    const qreal dpr = devicePixelRatioF();
    if (gridCache_.isNull() || gridCache_.devicePixelRatio() != dpr ||
        gridCache_.deviceIndependentSize() != QSizeF(size())) {
        rebuildGridCache();
    }
    p.drawPixmap(0, 0, gridCache_);
    if (!hasPlotArea()) {
        return;
    }
    const QRectF plot = plotRect();
    p.setClipRect(plot);
    p.setRenderHint(QPainter::Antialiasing);

    p.save();
    p.translate(plot.topLeft());
    const double zeroY = std::floor(px(gainToY(0.0f, scaleY_))) + 0.5;
    p.setPen(QPen(ZeroLineColour, 1));
    p.drawLine(QPointF(0, zeroY), QPointF(plot.width(), zeroY));

    if (curveComputed_) {
        // A segment is drawn from a point only when that point lies right of the left edge.
        std::vector<QPointF> points;
        points.reserve(CurvePointCount);
        float prevX = -1.0f;
        for (int i = 0; i < CurvePointCount; ++i) {
            const float x = freqToX(response::N24_F(FirstCurvePoint + i), scaleX_);
            const float y = gainToY(curve_[i], scaleY_);
            if (prevX > 0.0f && points.empty()) {
                points.push_back(QPointF(px(prevX), px(gainToY(curve_[i - 1], scaleY_))));
            }
            if (!points.empty()) {
                points.push_back(QPointF(px(x), px(y)));
            }
            prevX = x;
        }
        p.setPen(QPen(CurveColour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(points.data(), static_cast<int>(points.size()));
    }

    if (eqBypass_) {
        const QRectF box(px(plotWidthTwips(this) / 2 - 1700.0f), px(2040.0f), px(4065.0f),
                         px(870.0f));
        p.setFont(bypassFont());
        p.setPen(BypassColour);
        p.drawText(box, Qt::AlignCenter | Qt::TextDontClip, QStringLiteral("EQ BYPASS"));
    }
    p.restore();

    for (int side = 0; side < 2; ++side) {
        if (cutoffMarkerShown_[side]) {
            // A cut-off at either end of the scale (20 Hz, 20 kHz) would put half its badge
            // outside the plot: draw it just inside, so that its caption stays readable.
            QRectF badge = cutoffMarkerRect(side);
            if (badge.left() < plot.left()) {
                badge.moveLeft(plot.left());
            } else if (badge.right() > plot.right()) {
                badge.moveRight(plot.right());
            }
            drawBadge(p, badge, CutoffBadgeColour,
                      side == 0 ? QStringLiteral("LPF") : QStringLiteral("HPF"), 8);
        }
    }
    for (int b = 0; b < bandCount(); ++b) {
        if (markerVisible(b)) {
            drawBadge(p, markerRect(b), bandBadgeColour(b), QString::number(b + 1), 12);
        }
    }

    if (dragging_ && hasBand(readoutBand_)) {
        // Beside the marker: right of it for the first nine bands, below it for a boost, above
        // it for a cut; kept inside the plot so that it is never cut off.
        const QRectF marker = markerRect(readoutBand_);
        const float g = bands_[readoutBand_].values.dB;
        const float dx = readoutBand_ < 9 ? 30.0f : -50.0f;
        const float dy = g > 0.0f ? 300.0f : (g == 0.0f ? 150.0f : -600.0f);
        const QFont font = graphFont(7.5);
        const QFontMetricsF metrics(font);
        const QString text = readoutText();
        const QRectF textRect = metrics.boundingRect(QRectF(0, 0, 200, 100), Qt::AlignLeft, text);
        QRectF box(marker.left() + px(dx), marker.top() + px(dy), textRect.width() + 6,
                   textRect.height() + 4);
        // On a plot smaller than the read-out the left and top edges win.
        box.moveLeft(std::max(plot.left(), std::min(box.left(), plot.right() - box.width())));
        box.moveTop(std::max(plot.top(), std::min(box.top(), plot.bottom() - box.height())));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 170));
        p.drawRoundedRect(box, 3, 3);
        p.setFont(font);
        p.setPen(ReadoutColour);
        p.drawText(box.adjusted(3, 2, -3, -2), Qt::AlignLeft | Qt::AlignTop, text);
    }
}

} // namespace korvanex
