#pragma once
// The gain knob's track: draws the scale, the groove and the knob, and reports presses,
// moves and keys to the strip in twips, the strip's own unit (15 per logical pixel). The
// knob's position is kept as exact twips; rounding it to whole pixels would make a plain
// click land on a different gain.

#include <QFont>
#include <QWidget>

namespace korvanex {

class KnobTrack : public QWidget {
    Q_OBJECT

public:
    static constexpr double kTwipsPerPixel = 15.0;
    // Knob travel and size inside the track, in twips.
    static constexpr double kTravel = 1440.0;
    static constexpr double kKnobLeft = 280.0;
    static constexpr double kKnobWidth = 240.0;
    static constexpr double kKnobHeight = 300.0;

    explicit KnobTrack(QWidget* parent = nullptr);

    // The stored top may lie outside the travel (a gain beyond the scale); only the drawn
    // knob, and what a press on it measures against, is held inside.
    double knobTop() const { return knobTop_; }
    void setKnobTop(double twips);
    double drawnKnobTop() const;
    // True when the last press that focused the track landed on the knob, false when it
    // landed beside it: keys then belong to the knob rather than to the track.
    bool keysOnKnob() const { return keysOnKnob_; }

    // A gain asked for through the knob's accessible value; the strip takes it as a key's.
    void requestGain(double dB);

signals:
    // yInKnob: the pointer's height below the knob's drawn top edge, in twips.
    void knobPressed(Qt::MouseButton button, double yInKnob);
    void knobMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double yInKnob);
    void keyPressed(int key);
    void gainRequested(double dB);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool overKnob(QPointF pos) const;
    double yInKnob(QPointF pos) const;
    double snap(double logical) const;
    double lineCentre(double logical) const;
    void paintScale(QPainter& painter, double knobLeft, double grooveX) const;
    void paintKnob(QPainter& painter, double knobLeft) const;

    double knobTop_ = 0.0;
    // The knob holds the mouse from a press on it until every button is up.
    bool knobGrabbed_ = false;
    bool keysOnKnob_ = false;
    QFont scaleFont_;
};

} // namespace korvanex
