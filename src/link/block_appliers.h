#pragma once
// What the receiver calls after it stored a parameter block: the pages fill themselves from
// the engine's BlockStore. The defaults do nothing, for running the link without pages.

namespace korvanex::link {

class BlockAppliers {
public:
    virtual ~BlockAppliers() = default;
    virtual void Music_Data() {} // block 1
    virtual void Mic_Data() {}   // block 2
    virtual void EFF_Data() {}   // block 3
    virtual void MicB_Data() {}  // block 4
    virtual void set_Data() {}   // block 5 (switches the equaliser mode and shows its box)
};

} // namespace korvanex::link
