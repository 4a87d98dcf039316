#pragma once
// Keeps each equaliser's band strips and its graph in step and turns band changes into band
// requests. A strip edit goes to the graph; every band the graph reports (from a strip edit, a
// drag, a received block, a loaded file, a reset) is echoed into its strip and, while the unit
// is ready and the link is up, queued. The graph's band event is the only road by which a band
// change reaches the unit. The reset ("EQ复位") and bypass ("EQ-BYPASS") buttons of each
// equaliser live here too.

#include "pages/requests.h"

#include <QObject>

namespace korvanex {

class PageSet;

namespace link {
class LinkEngine;
}

// Request steps of one equaliser.
struct EqSteps {
    int band = 0;
    int reset = 0;
    int bypass = 0;
};
// Equaliser 1..7 (the EQline number).
EqSteps eqSteps(int equaliser);

class EqCoupling : public QObject {
    Q_OBJECT
public:
    // Wires every strip, graph and button of the seven equalisers.
    EqCoupling(PageSet& pages, link::LinkEngine& link, QObject* parent = nullptr);

    // The handlers, by equaliser number 1..7 (LkSlideN_DBChanged, EQlineN_PEQOUT,
    // the reset and bypass buttons' Click).
    void stripDBChanged(int equaliser, int Index, float value);
    void stripFChanged(int equaliser, int Index, float value);
    void stripQChanged(int equaliser, int Index, float value);
    void graphPEQOUT(int equaliser, int Index, float F, float Q, float db);
    void resetClick(int equaliser);
    void bypassClick(int equaliser);

private:
    PageSet& pages_;
    Requests requests_;
};

} // namespace korvanex
