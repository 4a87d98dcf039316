// libFuzzer entry for the link's reply gathering and judgement.
#include "fuzz/targets/reply_judge_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzReplyJudge(data, size);
}
