#include "pages/volume_handlers.h"

#include "controls/ct_slide.h"
#include "controls/text_box.h"
#include "core/numbers.h"
#include "pages/page_set.h"
#include "pages/readouts.h"

#include <array>

namespace korvanex {

namespace {

constexpr int kEnter = 13;
constexpr int kVolumeMax = 80;

struct VolumeRow {
    ctSlide* PageSet::*maximum;
    ctSlide* PageSet::*powerOn;
    int volumeStep;
    int maximumStep;
    int powerOnStep;
};

constexpr std::array<VolumeRow, 3> kRows{{
    {&PageSet::ctSlide14, &PageSet::ctSlide13, 7, 40, 39},  // music
    {&PageSet::ctSlide16, &PageSet::ctSlide15, 14, 42, 41}, // microphone
    {&PageSet::ctSlide18, &PageSet::ctSlide17, 24, 44, 43}, // effect
}};

bool validIndex(int k) {
    return k >= 0 && k < int(kRows.size());
}

} // namespace

std::optional<int> typedVolume(QStringView text) {
    // A comma is read as the decimal point, so "33,5" typed under either locale is 33.5.
    QString dotted = text.toString();
    dotted.replace(QLatin1Char(','), QLatin1Char('.'));
    const std::optional<double> x = parseStrictDecimal(dotted);
    if (!x || *x < 0.0 || *x > kVolumeMax) {
        return std::nullopt;
    }
    return int(roundHalfEven(*x));
}

VolumeHandlers::VolumeHandlers(PageSet& pages, link::LinkEngine& link, QObject* parent)
    : QObject(parent), pages_(pages), requests_(link) {
    for (int k = 0; k < int(kRows.size()); ++k) {
        const VolumeRow& r = kRows[std::size_t(k)];
        connect(pages_.ctSlide1[std::size_t(k)], &ctSlide::SlideChange, this,
                [this, k] { ctSlide1_SlideChange(k); });
        connect(pages_.*r.powerOn, &ctSlide::SlideChange, this,
                [this, k] { powerOnSlideChange(k); });
        connect(pages_.*r.maximum, &ctSlide::SlideChange, this,
                [this, k] { maximumSlideChange(k); });
        connect(pages_.Text1[std::size_t(k)], &TextBox::KeyPress, this,
                [this, k](int& KeyAscii) { Text1_KeyPress(k, KeyAscii); });
    }
}

void VolumeHandlers::showVolumeMoved(int k) {
    for (ctSlide* volume : pages_.ctSlide1) {
        pages_.showReadout(volume);
    }
    ctSlide* volume = pages_.ctSlide1[std::size_t(k)];
    const ctSlide* maximum = pages_.*kRows[std::size_t(k)].maximum;
    if (volume->Value() >= maximum->Value()) {
        volume->setValue(maximum->Value());
        pages_.showReadout(volume);
    }
}

void VolumeHandlers::ctSlide1_SlideChange(int k) {
    if (!validIndex(k)) {
        return;
    }
    showVolumeMoved(k);
    requests_.request(kRows[std::size_t(k)].volumeStep);
}

void VolumeHandlers::powerOnSlideChange(int k) {
    if (!validIndex(k)) {
        return;
    }
    const VolumeRow& r = kRows[std::size_t(k)];
    ctSlide* powerOn = pages_.*r.powerOn;
    const int maximum = (pages_.*r.maximum)->Value();
    // Equal to the maximum is allowed.
    if (powerOn->Value() > maximum) {
        powerOn->setValue(maximum);
    }
    pages_.showReadout(powerOn);
    requests_.request(r.powerOnStep);
}

void VolumeHandlers::maximumSlideChange(int k) {
    if (!validIndex(k)) {
        return;
    }
    const VolumeRow& r = kRows[std::size_t(k)];
    // Its own read-out is already written; the others follow it down.
    const int maximum = (pages_.*r.maximum)->Value();
    // Pulled down only where strictly above, the volume first; raising a maximum raises
    // nothing. Only the maximum's own step is sent, not the values it pulled down.
    ctSlide* volume = pages_.ctSlide1[std::size_t(k)];
    ctSlide* powerOn = pages_.*r.powerOn;
    for (ctSlide* below : {volume, powerOn}) {
        if (below->Value() > maximum) {
            below->setValue(maximum);
            pages_.showReadout(below);
        }
    }
    requests_.request(r.maximumStep);
}

void VolumeHandlers::Text1_KeyPress(int k, int& KeyAscii) {
    if (!validIndex(k)) {
        return;
    }
    if (KeyAscii == kEnter) {
        TextBox* box = pages_.Text1[std::size_t(k)];
        ctSlide* volume = pages_.ctSlide1[std::size_t(k)];
        if (const std::optional<int> typed = typedVolume(box->Text())) {
            // As a move of the slider: held to the maximum, all three boxes rewritten.
            volume->setValue(*typed);
            showVolumeMoved(k);
        } else {
            box->setText(ValueText(volume->Value()));
        }
    }
    // Every key, Enter or not, sends the volume the slider holds once more.
    requests_.request(kRows[std::size_t(k)].volumeStep);
}

} // namespace korvanex
