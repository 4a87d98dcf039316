// The strip's three entry boxes: Enter with a value, and a press that re-sends the band.
#include "eqstrip/lk_slide.h"

#include "core/numbers.h"
#include "eqstrip/band_limits.h"
#include "eqstrip/gain_grid.h"

#include <QLineEdit>
#include <QMouseEvent>

namespace korvanex {

using namespace strip;

// Entry boxes act on Enter only. Text that is not a plain number, or a value beyond the
// limits, puts the stored value back and raises nothing.
void LkSlide::gainEntered() {
    const auto value = parseStrictDecimal(txtdb_->text());
    if (!value || *value > kMaxGain || *value < -kMaxGain) {
        txtdb_->setText(formatFixed(db_, 1));
        return;
    }
    if (oddTenth(*value)) {
        txtdb_->setText(formatGeneral(*value - 0.1));
    }
    // Trimmed: the strict test allows any surrounding blank, the leading number only spaces.
    db_ = static_cast<float>(leadingNumber(txtdb_->text().trimmed()));
    emit DBChanged(db_);
}

void LkSlide::freqEntered() {
    const auto value = parseStrictDecimal(txtF_->text());
    if (!value || *value > kMaxF || *value < kMinF) {
        txtF_->setText(formatFixed(F_, 0));
        return;
    }
    F_ = static_cast<float>(*value);
    emit FChanged(F_);
}

void LkSlide::qEntered() {
    const auto value = parseStrictDecimal(txtQ_->text());
    if (!value || *value > kMaxQ || *value < kMinQ) {
        txtQ_->setText(formatFixed(Q_, 1));
        return;
    }
    Q_ = static_cast<float>(*value);
    emit QChanged(Q_);
}

bool LkSlide::eventFilter(QObject* watched, QEvent* event) {
    // A left press in a box sends the band again through the host; a greyed box (graphic
    // equaliser mode, or the whole strip disabled) still sees the press here, but must not
    // send anything.
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        static_cast<QWidget*>(watched)->isEnabled()) {
        if (watched == txtdb_) {
            emit DBChanged(db_);
        } else if (watched == txtF_) {
            emit FChanged(F_);
        } else if (watched == txtQ_) {
            emit QChanged(Q_);
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace korvanex
