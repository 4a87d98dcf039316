// libFuzzer entry for the "*.ktv" parameter file reader.
#include "fuzz/targets/ktv_read_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzKtvRead(data, size);
}
