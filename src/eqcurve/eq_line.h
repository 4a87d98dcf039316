#pragma once
// The response graph of one equaliser: owns the bands (0..EQnum) and the two cut-off sides,
// draws their summed response on a logarithmic grid and lets the user drag a band's marker in
// frequency and gain. Every band change that runs a full redraw is reported through PEQOUT;
// that signal is the only road by which a band change reaches the rest of the program.
//
// Lengths inside the model are twips (15 per logical pixel), as the layout rules are written
// in them; painting converts to pixels.

#include "core/band.h"
#include "eqcurve/filter_response.h"

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <array>
#include <vector>

namespace korvanex {

class EQline : public QWidget {
    Q_OBJECT

public:
    static constexpr int MaxBands = 15;
    static constexpr int FirstCurvePoint = 8;
    static constexpr int LastCurvePoint = 252;
    static constexpr int CurvePointCount = LastCurvePoint - FirstCurvePoint + 1;
    static constexpr float TwipsPerPixel = 15.0f;

    explicit EQline(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {1033, 305}; }

    // Response arithmetic (state-free ones forward to filter_response.h).
    static float N24_F(int idx) { return response::N24_F(idx); }
    float Filter(float f) const { return response::Filter(cutoff_, f); }
    static float General_2nd_Order_LP(float f, float f0, float Q);
    static float General_2nd_Order_HP(float f, float f0, float Q);
    static float Peaking(float f, float f0, float Q, float A);
    static float LowShelf(float f, float f0, float Q, float A);
    static float HighShelf(float f, float f0, float Q, float A);
    // The summed response (bands, then cut-off cascade) at f, in dB; always finite.
    float curveValue(float f) const;

    // Redraws. PEQ_draw also reports band Index through PEQOUT; a redraw asked for while
    // another one is running (from a PEQOUT receiver) is skipped and reports nothing.
    void PEQ_draw(int Index);
    void Filter_draw(int which = 0);

    // Properties: each getter reads back the value last written.
    int EQnum() const { return eqNum_; }
    void setEQnum(int value); // 0..14 builds the bands anew (KONGZHIDIAN); other values ignored
    bool HPEnabel() const { return hpEnabel_; }
    void setHPEnabel(bool on);
    bool LPEnabel() const { return lpEnabel_; }
    void setLPEnabel(bool on);
    bool EQ7visible() const { return eq7Visible_; }
    void setEQ7visible(bool on);
    // The graph's own "Enabled" property: whether it takes mouse input (a disabled graph cannot
    // be dragged). Reads false until first written although the graph starts enabled. Named so
    // that it does not hide QWidget::setEnabled; it calls it.
    bool graphEnabled() const { return graphEnabled_; }
    void setGraphEnabled(bool on);
    int LTY() const { return lty_; }
    void setLTY(int value);
    float LP_F() const { return lpF_; }
    void setLP_F(float value);
    int HTY() const { return hty_; }
    void setHTY(int value);
    float HP_F() const { return hpF_; }
    void setHP_F(float value);
    bool EQ_BYPASS() const { return eqBypass_; }
    void setEQ_BYPASS(bool on);

    // Band operations; an index without a band does nothing.
    void setDB(int Index, float db);
    void setQ(int Index, float Q); // only 0.1..15 accepted
    void setF(int Index, float F);
    void setVal(int Index, float F, float gain, float Q); // note: gain before Q
    void setT(int Index, int T);                          // type kept unless 0..2, redraw anyway
    void setdian(int Index) { (void)Index; }
    void KONGZHIDIAN(int n);

    // Read access for the host, tests and the benchmark.
    int bandCount() const { return static_cast<int>(bands_.size()); }
    Band band(int Index) const;    // default Band when Index has no band
    int bandType(int Index) const; // 0 peaking, 1 high shelf, 2 low shelf; -1 without band
    bool bandBypassed(int Index) const;
    float cutoffFreq(int side) const; // side 0 low-pass, 1 high-pass
    float sectionQ(int side, int section) const;
    int filterType(int side) const;
    const std::array<float, CurvePointCount>& curve() const { return curve_; }

    // Geometry and visible state, in logical pixels of this widget.
    float ScaleX() const { return scaleX_; } // twips per natural-log unit of frequency
    float ScaleY() const { return scaleY_; } // twips per dB
    QRectF plotRect() const;
    bool hasPlotArea() const;
    bool markerVisible(int Index) const;
    QRectF markerRect(int Index) const;
    bool cutoffMarkerVisible(int side) const;
    QRectF cutoffMarkerRect(int side) const;
    bool isDragging() const { return dragging_; }
    int dragBand() const { return dragBand_; }
    bool readoutVisible() const { return dragging_; }
    QString readoutText() const;

signals:
    void PEQOUT(int Index, float F, float Q, float db, int Tp);
    void HLPOUT(int Index, float F); // part of the interface; nothing raises it

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct BandState {
        Band values;
        int T = 0;
    };

    bool hasBand(int Index) const;
    void redraw(int Index, bool report);
    void computeCurve();
    std::size_t fillShapes(std::array<response::BandShape, MaxBands>& shapes) const;
    void updateScales();
    void rebuildGridCache();
    void applyCrossoverType(int type, int side);
    void setSideEnabled(int side, bool on);
    // A cut-off type write (LTY side 0, HTY side 1), as the table reads the value.
    void setSideType(int side, int value);
    void dragTo(QPointF widgetPos);
    void endDrag();
    int markerAt(QPointF widgetPos) const;

    // Bands and cut-offs
    std::vector<BandState> bands_;
    std::array<int, MaxBands> bypass_{};
    std::array<bool, MaxBands> markerShown_{};
    response::CutoffState cutoff_;
    std::array<bool, 2> cutoffMarkerShown_{};
    std::array<float, CurvePointCount> curve_{};

    // Property values as last written
    int eqNum_ = 1;
    bool hpEnabel_ = false;
    bool lpEnabel_ = false;
    bool eq7Visible_ = false;
    bool graphEnabled_ = false;
    int lty_ = 0;
    float lpF_ = 0.0f;
    int hty_ = 0;
    float hpF_ = 0.0f;
    bool eqBypass_ = false;

    // Drawing and dragging
    float scaleX_ = 0.0f;
    float scaleY_ = 0.0f;
    bool drawBusy_ = false;
    bool redrawSkipped_ = false;
    bool curveComputed_ = false;
    int readoutBand_ = 0;
    bool dragging_ = false;
    int dragBand_ = 0;
    bool moveBusy_ = false;
    QPixmap gridCache_;
};

} // namespace korvanex
