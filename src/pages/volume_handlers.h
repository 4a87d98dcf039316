#pragma once
// The three live volumes (music, microphone, effect), their maxima and power-on volumes on the
// system page, and the volume boxes. A user's move keeps volume <= maximum and power-on
// <= maximum; values set by a block or a file are taken as they come until the next move.

#include "pages/requests.h"

#include <QObject>
#include <QStringView>
#include <optional>

namespace korvanex {

class PageSet;

namespace link {
class LinkEngine;
}

// A volume typed into a box: the whole text one plain number with '.' or ',' as the decimal
// point (no "inf", "nan", hex, groups or units), 0..80 before rounding, rounded half to even.
// None for anything else.
std::optional<int> typedVolume(QStringView text);

class VolumeHandlers : public QObject {
    Q_OBJECT
public:
    // Wires the nine sliders and the three boxes.
    VolumeHandlers(PageSet& pages, link::LinkEngine& link, QObject* parent = nullptr);

    // k: 0 music, 1 microphone, 2 effect.
    void ctSlide1_SlideChange(int k);
    void powerOnSlideChange(int k); // ctSlide13, ctSlide15, ctSlide17
    void maximumSlideChange(int k); // ctSlide14, ctSlide16, ctSlide18
    // Runs before the character reaches the box: Enter sees the text typed so far.
    void Text1_KeyPress(int k, int& KeyAscii);

private:
    // Rewrites the three boxes, then holds volume k to its maximum.
    void showVolumeMoved(int k);

    PageSet& pages_;
    Requests requests_;
};

} // namespace korvanex
