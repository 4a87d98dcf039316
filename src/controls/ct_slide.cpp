#include "controls/ct_slide.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

namespace korvanex {

ctSlide::ctSlide(int minimum, int maximum, int value, Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), slider_(new QSlider(orientation, this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(slider_);
    slider_->setRange(minimum, std::max(minimum, maximum));
    slider_->setValue(value);
    slider_->setPageStep(std::max(1, (slider_->maximum() - slider_->minimum()) / 10));
    setFocusProxy(slider_);
    // Every change that reaches this connection comes from the user: changes made from code
    // go through setValue(), which blocks the inner slider's signals.
    connect(slider_, &QSlider::valueChanged, this, &ctSlide::SlideChange);
}

int ctSlide::Value() const {
    return slider_->value();
}

void ctSlide::setValue(int value) {
    const QSignalBlocker block(slider_);
    slider_->setValue(std::clamp(value, slider_->minimum(), slider_->maximum()));
}

int ctSlide::Min() const {
    return slider_->minimum();
}

int ctSlide::Max() const {
    return slider_->maximum();
}

void ctSlide::setAccessibleText(const QString& name) {
    setAccessibleName(name);
    slider_->setAccessibleName(name);
}

} // namespace korvanex
