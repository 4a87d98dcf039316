#pragma once
// Fills the pages from the parameter blocks the receiver has just stored: every byte to its
// control, page field and read-out, in block order. Appliers only fill the window: setting a
// control from code raises nothing, and the band echoes queue nothing while the unit is not
// ready, so no request leaves while a block is applied.

#include "link/block_appliers.h"

#include "core/band.h"

#include <span>
#include <vector>

class QString;

namespace korvanex {

class PageSet;
class Prompter;

namespace link {
class LinkEngine;
}

// Sets the bands of equaliser `graph` (1..7): strip values first, then the graph from what the
// strip reports back. Blocks and parameter files both set bands this way.
void applyEqSection(PageSet& pages, int graph, std::span<const Band> bands);

class PageAppliers : public link::BlockAppliers {
public:
    PageAppliers(PageSet& pages, link::LinkEngine& link, Prompter& prompter);

    void Music_Data() override;
    void Mic_Data() override;
    void EFF_Data() override;
    void MicB_Data() override;
    void set_Data() override;

private:
    void applyEqSection(int graph, const std::vector<Band>& bands) {
        korvanex::applyEqSection(pages_, graph, bands);
    }
    void applyMic(std::span<const QString> block, bool micB);

    PageSet& pages_;
    link::LinkEngine& link_;
    Prompter& prompter_;
};

} // namespace korvanex
