#pragma once
// The band strip: one equaliser band edited with a gain knob, the Up/Down keys, the mouse
// wheel, two Q step arrows and three entry boxes. Every user edit is reported as a signal
// carrying the value just stored; setting a value from code raises nothing, so the host can
// echo values back into the strip without a loop.

#include "core/band.h"

#include <QWidget>

class QLineEdit;
class QTimer;

namespace korvanex {

class Prompter;
class KnobTrack;
class StepArrow;

class LkSlide : public QWidget {
    Q_OBJECT

public:
    // The strip's fixed size in logical pixels.
    static constexpr int kWidth = 65;
    static constexpr int kHeight = 201;

    explicit LkSlide(QWidget* parent = nullptr);
    ~LkSlide() override;

    // Band values. None of the setters raises a signal.
    float db() const { return db_; }
    void setDb(float value);
    // The gain as the strip shows it, to one decimal (screen readers hear it as the knob's
    // value); a gain beyond the scale is shown as it is.
    double shownGain() const;
    float F() const { return F_; }
    void setF(float value);
    float Q() const { return Q_; }
    void setQ(float value);
    // Note the order: frequency, gain, Q.
    void setVal(float F, float D, float Q);
    // Same as setVal, with named fields so a call site cannot swap them.
    void setBand(const Band& band) { setVal(band.F, band.dB, band.Q); }

    // Filter type 0..2; a valid set raises TChanged, any other value shows "无效属性值".
    int T() const { return T_; }
    void setT(int value);

    // Whether the Q box and both Q arrows, resp. the frequency box, accept input.
    bool QEnabled() const { return QEnabled_; }
    void setQEnabled(bool on);
    bool FEnabled() const { return FEnabled_; }
    void setFEnabled(bool on);

    // Where the invalid-type box goes; without one the box is skipped (the value still stays).
    void setPrompter(Prompter* prompter) { prompter_ = prompter; }

    // Adds the band number to the accessible names ("频段 3 增益"); 0 removes it.
    void setBandNumber(int number);
    int bandNumber() const { return bandNumber_; }

    // Where the knob's top edge sits inside the track, in twips (0 at +12 dB, 1440 at -12 dB).
    double knobTop() const;

    // The three boxes, for the host's layout checks and for tests.
    QLineEdit* gainBox() const { return txtdb_; }
    QLineEdit* freqBox() const { return txtF_; }
    QLineEdit* qBox() const { return txtQ_; }
    QWidget* knobTrack() const;
    QWidget* qDownArrow() const;
    QWidget* qUpArrow() const;
    // True while a Q arrow repeat is running.
    bool qRepeating() const { return StepBusy_; }

signals:
    void DBChanged(float db);
    void FChanged(float F);
    void QChanged(float Q);
    void TChanged(int T);
    void EQBYPASS();

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeKnob();
    void knobPressed(Qt::MouseButton button, double yInKnob);
    void knobDragStep(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, double yInKnob);
    void knobKey(int key);
    void knobGainSet(double dB);
    void takeGainBox();
    void announceGain();
    void gainEntered();
    void freqEntered();
    void qEntered();
    void arrowPressed(int direction);
    void qStep();
    void stopQRepeat();
    void updateAccessibleNames();

    float db_ = 0.0f;
    float F_ = 0.0f;
    float Q_ = 0.0f;
    int T_ = 0;
    bool QEnabled_ = true;
    bool FEnabled_ = true;

    // Q repeat: StepRepeat goes false on a mouse button release anywhere, the running repeat
    // ends after its next step.
    bool StepRepeat_ = false;
    bool StepBusy_ = false;
    int stepDirection_ = 0;
    bool InKnobMove_ = false;
    double GrabY_ = 0.0; // where the knob was pressed, whole twips below its top edge
    int wheelRemainder_ = 0;
    int bandNumber_ = 0;

    QLineEdit* txtdb_ = nullptr;
    QLineEdit* txtF_ = nullptr;
    QLineEdit* txtQ_ = nullptr;
    KnobTrack* PicBar_ = nullptr;
    StepArrow* qDown_ = nullptr;
    StepArrow* qUp_ = nullptr;
    QTimer* stepTimer_ = nullptr;
    Prompter* prompter_ = nullptr;
    // Watches the whole application for the release that ends a Q repeat.
    QObject* releaseWatch_ = nullptr;
};

} // namespace korvanex
