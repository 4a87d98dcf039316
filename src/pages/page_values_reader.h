#pragma once
// Copies what the request builders read out of the pages at a tick: every band strip (the
// strip, not the graph, is the source), the sliders, the two high-cut read-outs and the state
// fields.

#include "link/page_values.h"

namespace korvanex {

class PageSet;

link::PageValues readPageValues(const PageSet& pages);

} // namespace korvanex
