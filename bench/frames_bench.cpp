// Building a request frame at a tick from the full window: the page values read out of every
// strip, slider and read-out, then the frame. Target: a frame built in 20 us or less.

#include "app/form1.h"
#include "core/prompter.h"
#include "link/fake_clock.h"
#include "link/memory_line.h"
#include "link/request_frames.h"
#include "pages/page_appliers.h"
#include "pages/page_values_reader.h"
#include "sim/unit_model.h"

#include <benchmark/benchmark.h>

namespace {

using namespace korvanex;

struct Window {
    Window() {
        Form1::Options options;
        options.finder = [] { return QString(); };
        options.prompter = &prompter;
        options.line = std::make_unique<link::MemoryLine>(); // never opened
        options.timers = clock.factory();
        form = std::make_unique<Form1>(std::move(options));
        // The pages as a connection leaves them.
        const sim::UnitModel unit;
        for (int n = 1; n <= 5; ++n) {
            link::storeBlockBytes(form->engine().Blocks, n, unit.block(n));
        }
        PageAppliers appliers(form->pageSet(), form->engine(), prompter);
        appliers.Music_Data();
        appliers.Mic_Data();
        appliers.EFF_Data();
        appliers.MicB_Data();
        appliers.set_Data();
    }
    link::FakeClock clock;
    RecordingPrompter prompter;
    std::unique_ptr<Form1> form;
};

// What a tick does for the step: the operands and the pages as they stand, then the frame.
void BuildFrame(benchmark::State& state, int step, int stepIndex) {
    Window window;
    const link::StepOperands operands{0, stepIndex, 0};
    for (auto _ : state) {
        std::optional<QByteArray> frame =
            link::parameterFrame(step, operands, readPageValues(window.form->pageSet()));
        benchmark::DoNotOptimize(frame);
    }
}

void ReadPageValues(benchmark::State& state) {
    Window window;
    for (auto _ : state) {
        link::PageValues values = readPageValues(window.form->pageSet());
        benchmark::DoNotOptimize(values);
    }
}

BENCHMARK_CAPTURE(BuildFrame, MusicBand, 2, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildFrame, SubwooferBand, 34, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BuildFrame, WholeSet, 53, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadPageValues)->Unit(benchmark::kMicrosecond);

} // namespace
