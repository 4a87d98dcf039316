// Applying the five parameter blocks of a connection to the full window: every control,
// read-out, strip and graph redraw. Target: the whole apply under 50 ms in a Release build.

#include "app/form1.h"
#include "core/prompter.h"
#include "link/fake_clock.h"
#include "link/link_engine.h"
#include "link/memory_line.h"
#include "pages/page_appliers.h"
#include "sim/unit_model.h"

#include <benchmark/benchmark.h>

namespace {

using namespace korvanex;

void storeAll(link::BlockStore& blocks, const sim::UnitModel& model) {
    for (int n = 1; n <= 5; ++n) {
        link::storeBlockBytes(blocks, n, model.block(n));
    }
}

void ApplyFiveBlocks(benchmark::State& state) {
    link::FakeClock clock;
    RecordingPrompter prompter;
    Form1::Options options;
    options.finder = [] { return QString(); };
    options.prompter = &prompter;
    options.line = std::make_unique<link::MemoryLine>(); // never opened
    options.timers = clock.factory();
    Form1 window(std::move(options));
    window.show();
    PageAppliers appliers(window.pageSet(), window.engine(), prompter);

    // Two unit states, alternated, so that every apply really moves the bands.
    sim::UnitModel factory;
    sim::UnitModel boosted;
    for (int n = 1; n <= 4; ++n) {
        QByteArray bytes = boosted.block(n);
        for (qsizetype i = 0; i < bytes.size(); i += 3) {
            bytes[i] = static_cast<char>(static_cast<unsigned char>(bytes[i]) ^ 0x05);
        }
        boosted.setBlock(n, bytes);
    }
    link::BlockStore states[2];
    storeAll(states[0], factory);
    storeAll(states[1], boosted);

    int which = 0;
    for (auto _ : state) {
        window.engine().Blocks = states[which];
        which ^= 1;
        appliers.Music_Data();
        appliers.Mic_Data();
        appliers.EFF_Data();
        appliers.MicB_Data();
        appliers.set_Data();
        prompter.boxes.clear();
    }
}
BENCHMARK(ApplyFiveBlocks)->Unit(benchmark::kMillisecond);

} // namespace
