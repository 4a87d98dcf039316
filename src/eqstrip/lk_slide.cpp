#include "eqstrip/lk_slide.h"

#include "core/messages.h"
#include "core/numbers.h"
#include "core/prompter.h"
#include "eqstrip/band_limits.h"
#include "eqstrip/gain_grid.h"
#include "eqstrip/knob_track.h"
#include "eqstrip/step_arrow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>

namespace korvanex {

using namespace strip;

namespace {

constexpr double kGainKeyStep = 0.2;
constexpr double kQStep = 0.1;
constexpr int kQStepMs = 200;
constexpr int kWheelNotch = 120;
// Where a new strip's knob sits until the host gives it its band.
constexpr double kDesignKnobTop = 1430.0;

const QColor kPanel(240, 242, 242);

const char* const kTrackTip = "可以使用鼠标滚轮或上下方向键调整";
const char* const kEnterTip = "手动输入按回车键有效";

// Element rectangles in twips (left, top, width, height), as laid out on the strip.
QRect fromTwips(int left, int top, int width, int height) {
    const auto p = [](int twips) { return (twips + 7) / 15; };
    return {p(left), p(top), p(width), p(height)};
}

QString gainText(double dB) {
    return formatFixed(dB, 1) + QStringLiteral("dB");
}

// The gain knob as screen readers and UI automation see it: a slider whose value is the gain
// in dB. A value set through it does what the knob's keys do.
class KnobAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    KnobAccessible(KnobTrack* track, LkSlide* strip)
        : QAccessibleWidget(track, QAccessible::Slider), strip_(strip) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? gainText(strip_->shownGain()) : QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return strip_->shownGain(); }
    void setCurrentValue(const QVariant& value) override {
        bool ok = false;
        const double dB = value.toDouble(&ok);
        if (ok && std::isfinite(dB)) {
            static_cast<KnobTrack*>(widget())->requestGain(dB);
        }
    }
    QVariant maximumValue() const override { return kMaxGain; }
    QVariant minimumValue() const override { return -kMaxGain; }
    QVariant minimumStepSize() const override { return kGainKeyStep; }

private:
    LkSlide* strip_;
};

QAccessibleInterface* knobAccessible(const QString&, QObject* object) {
    auto* track = qobject_cast<KnobTrack*>(object);
    auto* strip = track != nullptr ? qobject_cast<LkSlide*>(track->parentWidget()) : nullptr;
    return strip != nullptr ? new KnobAccessible(track, strip) : nullptr;
}

// Sees every event of the application while installed and passes each one to a callback.
class EventWatch : public QObject {
public:
    EventWatch(QObject* parent, std::function<void(QObject*, QEvent*)> seen)
        : QObject(parent), seen_(std::move(seen)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        seen_(watched, event);
        return false;
    }

private:
    std::function<void(QObject*, QEvent*)> seen_;
};

} // namespace

LkSlide::LkSlide(QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(knobAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFixedSize(kWidth, kHeight);
    setStyleSheet(QStringLiteral(
        "QLineEdit { border: 1px solid #8c979e; border-radius: 2px; padding: 0px;"
        " background: white; color: #1a1f23; }"
        "QLineEdit:focus { border-color: #1e6ed2; }"
        "QLineEdit:disabled { background: #e4e7e8; color: #8a9296; border-color: #b9c0c4; }"));

    // Nimbus Sans stands in for Tahoma where it is missing: the next fallback is wide enough
    // to cut "20000Hz" and "-12.0dB" off in their boxes.
    QFont boxFont;
    boxFont.setFamilies(
        {QStringLiteral("Tahoma"), QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
    boxFont.setPixelSize(12); // 9 pt at 15 twips a pixel
    const auto makeBox = [&](const QString& text, QRect where) {
        auto* box = new QLineEdit(text, this);
        box->setGeometry(where);
        box->setFont(boxFont);
        box->setAlignment(Qt::AlignCenter);
        box->setTextMargins(0, 0, 0, 0);
        box->installEventFilter(this);
        return box;
    };

    txtdb_ = makeBox(QStringLiteral("0"), fromTwips(75, 120, 735, 270));
    PicBar_ = new KnobTrack(this);
    PicBar_->setGeometry(fromTwips(240, 480, 615, 1815));
    PicBar_->setToolTip(QString::fromUtf8(kTrackTip));
    PicBar_->setKnobTop(kDesignKnobTop);
    txtF_ = makeBox(QStringLiteral("20"), fromTwips(30, 2280, 830, 285));
    txtF_->setToolTip(QString::fromUtf8(kEnterTip));
    txtQ_ = makeBox(QStringLiteral("1.0"), fromTwips(180, 2655, 540, 300));
    txtQ_->setToolTip(QString::fromUtf8(kEnterTip));
    qDown_ = new StepArrow(-1, this);
    qDown_->setGeometry(fromTwips(0, 2640, 180, 330));
    qUp_ = new StepArrow(+1, this);
    qUp_->setGeometry(fromTwips(705, 2640, 180, 330));

    stepTimer_ = new QTimer(this);
    stepTimer_->setInterval(kQStepMs);
    stepTimer_->setTimerType(Qt::PreciseTimer); // a coarse timer may step up to 10 ms early
    connect(stepTimer_, &QTimer::timeout, this, &LkSlide::qStep);
    releaseWatch_ = new EventWatch(this, [this](QObject* watched, QEvent* event) {
        if (event->type() == QEvent::MouseButtonRelease) {
            StepRepeat_ = false;
        } else if (event->type() == QEvent::WindowDeactivate && watched == window()) {
            // The window lost the mouse to another one: no release will reach it.
            StepRepeat_ = false;
        }
    });

    connect(PicBar_, &KnobTrack::knobPressed, this, &LkSlide::knobPressed);
    connect(PicBar_, &KnobTrack::knobMoved, this, &LkSlide::knobDragStep);
    connect(PicBar_, &KnobTrack::keyPressed, this, [this](int key) {
        // Keys on the knob wait out a Q repeat; after a press beside the knob they do not.
        if (StepBusy_ && PicBar_->keysOnKnob()) {
            return;
        }
        knobKey(key);
    });
    connect(PicBar_, &KnobTrack::gainRequested, this, &LkSlide::knobGainSet);
    connect(txtdb_, &QLineEdit::returnPressed, this, &LkSlide::gainEntered);
    connect(txtF_, &QLineEdit::returnPressed, this, &LkSlide::freqEntered);
    connect(txtQ_, &QLineEdit::returnPressed, this, &LkSlide::qEntered);
    connect(qDown_, &StepArrow::pressed, this, [this] { arrowPressed(-1); });
    connect(qUp_, &StepArrow::pressed, this, [this] { arrowPressed(+1); });

    updateAccessibleNames();
}

LkSlide::~LkSlide() {
    qApp->removeEventFilter(releaseWatch_);
}

QWidget* LkSlide::knobTrack() const {
    return PicBar_;
}
QWidget* LkSlide::qDownArrow() const {
    return qDown_;
}
QWidget* LkSlide::qUpArrow() const {
    return qUp_;
}
double LkSlide::knobTop() const {
    return PicBar_->knobTop();
}

// Setters: they store and show the value, and never signal, so the host can echo into them.
void LkSlide::setDb(float value) {
    db_ = value;
    txtdb_->setText(formatFixed(db_, 1));
    placeKnob();
}

double LkSlide::shownGain() const {
    return leadingNumber(formatFixed(db_, 1));
}

void LkSlide::setF(float value) {
    F_ = value;
    txtF_->setText(formatFixed(F_, 0));
}

void LkSlide::setQ(float value) {
    Q_ = value;
    txtQ_->setText(formatFixed(Q_, 1));
}

void LkSlide::setVal(float F, float D, float Q) {
    setDb(D);
    setF(F);
    txtF_->setText(formatFixed(F_, 0) + QStringLiteral("Hz"));
    setQ(Q);
}

void LkSlide::setT(int value) {
    if (value < 0 || value > 2) {
        if (prompter_ != nullptr) {
            prompter_->show(QString::fromUtf8(msg::kInvalidProperty),
                            QString::fromUtf8(msg::kErrorTitle), BoxIcon::Critical);
        }
        return;
    }
    T_ = value;
    emit TChanged(T_);
}

void LkSlide::setQEnabled(bool on) {
    QEnabled_ = on;
    txtQ_->setEnabled(on);
    qDown_->setEnabled(on);
    qUp_->setEnabled(on);
    if (!on) {
        stopQRepeat();
    }
}

void LkSlide::setFEnabled(bool on) {
    FEnabled_ = on;
    txtF_->setEnabled(on);
}

void LkSlide::setBandNumber(int number) {
    bandNumber_ = number;
    updateAccessibleNames();
}

void LkSlide::updateAccessibleNames() {
    const QString band = bandNumber_ > 0 ? QStringLiteral("频段 %1 ").arg(bandNumber_) : QString();
    txtdb_->setAccessibleName(band + QStringLiteral("增益"));
    PicBar_->setAccessibleName(band + QStringLiteral("增益滑块"));
    txtF_->setAccessibleName(band + QStringLiteral("频率"));
    txtQ_->setAccessibleName(band + QStringLiteral("Q"));
    qDown_->setAccessibleName(band + QStringLiteral("Q−"));
    qUp_->setAccessibleName(band + QStringLiteral("Q+"));
}

// The knob stands 60 twips per dB below +12 dB; a gain beyond the scale keeps its value and
// only the drawing is held on the track.
void LkSlide::placeKnob() {
    PicBar_->setKnobTop((kMaxGain - static_cast<double>(db_)) / 24.0 * KnobTrack::kTravel);
    txtdb_->setText(gainText(db_));
    announceGain();
}

// Screen readers hear the knob's value follow the gain; nothing is built while none listens.
void LkSlide::announceGain() {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleValueChangeEvent event(PicBar_, shownGain());
    QAccessible::updateAccessibility(&event);
}

// Knob: a left press re-reads the gain at once, a right press asks for the band's bypass.
void LkSlide::knobPressed(Qt::MouseButton button, double yInKnob) {
    GrabY_ = roundHalfEven(yInKnob); // whole twips, as the drag arithmetic expects
    if (button == Qt::LeftButton) {
        knobDragStep(Qt::LeftButton, Qt::NoModifier, yInKnob);
    } else if (button == Qt::RightButton) {
        emit EQBYPASS();
    }
}

void LkSlide::knobDragStep(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                           double yInKnob) {
    if (InKnobMove_) {
        return;
    }
    // The left button alone drags; so does Alt alone, whatever buttons are down.
    const auto shiftState = modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (buttons != Qt::LeftButton && shiftState != Qt::AltModifier) {
        return;
    }
    InKnobMove_ = true;
    const double newTop = roundHalfEven(PicBar_->drawnKnobTop() + yInKnob - GrabY_);
    PicBar_->setKnobTop(std::clamp(newTop, 0.0, KnobTrack::kTravel));
    db_ = knobGain(newTop);
    txtdb_->setText(gainText(db_));
    announceGain();
    emit DBChanged(db_);
    InKnobMove_ = false;
}

// Keys on the knob (and wheel notches): Up/Down step the gain box by 0.2 dB within the
// scale; every key then takes the box's value as the gain. The host's echo moves the knob.
void LkSlide::knobKey(int key) {
    if (key == Qt::Key_Up) {
        txtdb_->setText(gainText(leadingNumber(txtdb_->text()) + kGainKeyStep));
        if (leadingNumber(txtdb_->text()) > kMaxGain) {
            txtdb_->setText(gainText(kMaxGain));
        }
    } else if (key == Qt::Key_Down) {
        txtdb_->setText(gainText(leadingNumber(txtdb_->text()) - kGainKeyStep));
        if (leadingNumber(txtdb_->text()) < -kMaxGain) {
            txtdb_->setText(gainText(-kMaxGain));
        }
    }
    takeGainBox();
}

// A gain set through the knob's accessible value: the box takes it within the scale, as a key
// step would, and the gain follows the box.
void LkSlide::knobGainSet(double dB) {
    txtdb_->setText(gainText(std::clamp(dB, -kMaxGain, kMaxGain)));
    takeGainBox();
}

void LkSlide::takeGainBox() {
    db_ = static_cast<float>(leadingNumber(txtdb_->text()));
    announceGain();
    emit DBChanged(db_);
}

void LkSlide::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    while (wheelRemainder_ >= kWheelNotch) {
        wheelRemainder_ -= kWheelNotch;
        knobKey(Qt::Key_Up);
    }
    while (wheelRemainder_ <= -kWheelNotch) {
        wheelRemainder_ += kWheelNotch;
        knobKey(Qt::Key_Down);
    }
    event->accept();
}

// Q arrows: the first step comes 200 ms after the press, then one every 200 ms until the
// release; a release ends the repeat after the step then due. Only a real button release
// counts: the arrow's own released() also fires when the held pointer slides off it, and
// the stepping goes on then. The box may show one step past a limit; the stored Q does
// not go past it.
void LkSlide::arrowPressed(int direction) {
    if (StepBusy_) {
        return;
    }
    StepBusy_ = true;
    StepRepeat_ = true;
    stepDirection_ = direction;
    qApp->installEventFilter(releaseWatch_); // a release anywhere ends the repeat
    stepTimer_->start();
}

void LkSlide::qStep() {
    txtQ_->setText(formatFixed(leadingNumber(txtQ_->text()) + stepDirection_ * kQStep, 1));
    const double q = std::clamp(leadingNumber(txtQ_->text()), kMinQ, kMaxQ);
    Q_ = static_cast<float>(q);
    const bool last = !StepRepeat_;
    emit QChanged(Q_);
    if (last) {
        stopQRepeat();
    }
}

void LkSlide::stopQRepeat() {
    stepTimer_->stop();
    StepRepeat_ = false;
    StepBusy_ = false;
    qApp->removeEventFilter(releaseWatch_);
}

void LkSlide::hideEvent(QHideEvent* event) {
    stopQRepeat();
    QWidget::hideEvent(event);
}

void LkSlide::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        stopQRepeat();
    }
    QWidget::changeEvent(event);
}

void LkSlide::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kPanel);
}

} // namespace korvanex
