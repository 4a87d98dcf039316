#pragma once
// Between the pages and a parameter file's record: gathering every value the file holds, and
// setting the pages from a checked record with the display work a user's change would do.

#include "presets/ktv_codec.h"

namespace korvanex {

class PageSet;

// The strips' bands, the sliders' values, the read-outs' texts and the fields, in file order.
ktv::ParameterRecord gatherRecord(const PageSet& pages);

// Sets the pages in file order: each equaliser's strips and graph band by band, each slider
// (which clamps) with the read-out and graph cut-off that follow it, the fields with their
// captions, the effect program with its list and panels. The read-out texts of the record are
// not used: every read-out is recomputed from its slider's value. Raises no control event;
// the graphs' band echoes queue nothing while the unit is not ready.
void applyRecord(PageSet& pages, const ktv::ParameterRecord& record);

} // namespace korvanex
