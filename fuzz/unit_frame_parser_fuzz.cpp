// libFuzzer entry for the simulated unit's frame parser.
#include "fuzz/targets/unit_frame_parser_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzUnitFrameParser(data, size);
}
