#pragma once
// The unit runs every equaliser either parametric (gain, frequency and Q of each band) or
// graphic (gain only). The system block says which; the switch decides what the user may edit
// on the seven equalisers and tells the user the unit's mode. It changes no band value.

namespace korvanex {

class PageSet;
class Prompter;

// Frequency box, Q box and arrows of every strip, and dragging on every graph, on or off.
// Gain knobs and gain boxes stay usable either way.
void setEqEditing(PageSet& pages, bool parametric);

// Parametric mode, then its information box; returns when the box is closed.
void canliangeq(PageSet& pages, Prompter& prompter);
// Graphic mode, then its information box.
void tushieq(PageSet& pages, Prompter& prompter);

} // namespace korvanex
