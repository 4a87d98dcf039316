#pragma once
// The page handlers of the sliders with a read-out: the cut-offs, the microphone high gains,
// the output limit, the echo and reverb groups, the centre volumes and the subwoofer's four.
// The read-outs (and the graph cut-offs that follow them) are written by the pages' own
// read-out bindings as the slider moves; these handlers hold the subwoofer cut pair in order
// and leave the request.

#include "pages/requests.h"

#include <QObject>

namespace korvanex {

class PageSet;
class ctSlide;

namespace link {
class LinkEngine;
}

class SliderHandlers : public QObject {
    Q_OBJECT
public:
    // Wires every slider named below to its handler.
    SliderHandlers(PageSet& pages, link::LinkEngine& link, QObject* parent = nullptr);

    // A slider without an operand: its frame reads the slider (or its read-out) at the tick.
    void SlideChange(const ctSlide* slider);
    void ctSlide6_SlideChange(int Index);  // echo group, StepIndex
    void ctSlide7_SlideChange(int Index);  // reverb group, StepIndex
    void ctSlide10_SlideChange(int Index); // centre volumes, StepValue
    // Subwoofer low cut, high cut, bass volumes; the two cuts are kept low <= high.
    void ctSlide12_SlideChange(int Index);

private:
    PageSet& pages_;
    Requests requests_;
};

} // namespace korvanex
