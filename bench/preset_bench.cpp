// Parameter files on the full window: a save without its dialog (gather, write, replace the
// file), reading and checking a file, and applying one to every page. Targets: save <= 10 ms,
// read and check <= 0.5 ms, apply <= 16 ms (one event) in a Release build.
//
// LoadToImportDone: the open dialog's OK to "数据导入完成!" with the window linked to the
// simulated unit on a pseudo-terminal at 38400 baud and 2 ms latency: the load, the first
// 50 ms tick of the second sender, the 220-byte whole set and the answer (floor 110.2 ms).

#include "app/form1.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "core/file_dialog.h"
#include "core/messages.h"
#include "core/prompter.h"
#include "link/fake_clock.h"
#include "link/link_engine.h"
#include "link/memory_line.h"
#include "pages/page_set.h"
#include "presets/ktv_codec.h"
#include "presets/page_record.h"
#include "presets/parameter_file_handlers.h"
#include "sim/pty_unit.h"
#include "support/live_measures.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

using namespace korvanex;

QByteArray sampleFile() {
    QFile file(QStringLiteral(KORVANEX_PRESET_DATA_DIR "/e1.ktv"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The window with its link up on a line that only remembers.
struct LinkedWindow {
    LinkedWindow() {
        Form1::Options options;
        options.finder = [] { return QString(); };
        options.prompter = &prompter;
        auto memory = std::make_unique<link::MemoryLine>();
        line = memory.get();
        options.line = std::move(memory);
        options.timers = clock.factory();
        options.clock = clock.monotonic();
        window = std::make_unique<Form1>(std::move(options));
        window->show();
        line->open = true;
        window->setMnulianjiEnabled(false);
        files = std::make_unique<ParameterFileHandlers>(window->pageSet(), window->engine(),
                                                        prompter, dialog);
    }

    link::FakeClock clock;
    RecordingPrompter prompter;
    ScriptedFileDialog dialog;
    link::MemoryLine* line = nullptr;
    std::unique_ptr<Form1> window;
    std::unique_ptr<ParameterFileHandlers> files;
};

void SaveWithoutDialog(benchmark::State& state) {
    LinkedWindow w;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.ktv"));
    for (auto _ : state) {
        w.dialog.answers = {path};
        w.files->dcButton13_Click();
    }
    if (w.prompter.boxes.empty() || w.prompter.boxes.back().icon != BoxIcon::Information) {
        state.SkipWithError("the save failed");
    }
}
BENCHMARK(SaveWithoutDialog)->Unit(benchmark::kMillisecond);

void ReadAndCheck(benchmark::State& state) {
    const QByteArray bytes = sampleFile();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ktv::read(bytes));
    }
    if (!ktv::read(bytes).record) {
        state.SkipWithError("the sample file is refused");
    }
}
BENCHMARK(ReadAndCheck)->Unit(benchmark::kMicrosecond);

// Two records alternated, so that every apply really moves every band and slider.
void ApplyToPages(benchmark::State& state) {
    LinkedWindow w;
    const ktv::ParameterRecord loaded = *ktv::read(sampleFile()).record;
    const ktv::ParameterRecord design = gatherRecord(w.window->pageSet());
    int which = 0;
    for (auto _ : state) {
        applyRecord(w.window->pageSet(), which == 0 ? loaded : design);
        which ^= 1;
    }
}
BENCHMARK(ApplyToPages)->Unit(benchmark::kMillisecond);

// The load handler after its dialog: read, check, apply, queue the download.
void LoadWithoutDialog(benchmark::State& state) {
    LinkedWindow w;
    QTemporaryDir dir;
    const std::array<QString, 2> paths{dir.filePath(QStringLiteral("a.ktv")),
                                       dir.filePath(QStringLiteral("b.ktv"))};
    const std::array<QByteArray, 2> files{
        sampleFile(), ktv::write(gatherRecord(w.window->pageSet()), ktv::DecimalPoint::Dot)};
    for (std::size_t i = 0; i < paths.size(); ++i) {
        QFile file(paths[i]);
        if (!file.open(QIODevice::WriteOnly) || file.write(files[i]) != files[i].size()) {
            state.SkipWithError("cannot write the sample files");
            return;
        }
    }
    std::size_t which = 0;
    for (auto _ : state) {
        w.dialog.answers = {paths[which]};
        which ^= 1;
        w.files->dcButton14_Click();
    }
    if (!w.prompter.boxes.empty() || w.window->engine().PendingStep != 53) {
        state.SkipWithError("the load failed");
    }
}
BENCHMARK(LoadWithoutDialog)->Unit(benchmark::kMillisecond);

void LoadToImportDone(benchmark::State& state) {
    sim::PtyUnit unit;
    unit.setLine({sim::PtyUnit::kLineRateUsPerByte, 2});
    RecordingPrompter prompter;
    ScriptedFileDialog dialog;
    Form1::Options options;
    options.finder = [&unit] { return unit.portPath(); };
    options.prompter = &prompter;
    options.fileDialog = &dialog;
    options.quit = [](int) {};
    Form1 window(std::move(options));
    window.show();
    window.mnulianji()->click();
    const QString linked = QString::fromUtf8(msg::kStatusConnected);
    if (!bench::runUntil([&] { return window.Label6()->text() == linked; }, 5000)) {
        state.SkipWithError("no connection");
        return;
    }
    // The load button is on the system page: that page is the one shown and repainted.
    window.Image1_Click(6); // "系统"
    bench::runUntil([] { return false; }, 100);
    // E1 and the unit's own state in turn, so that every load moves the pages.
    QTemporaryDir dir;
    const std::array<QString, 2> paths{dir.filePath(QStringLiteral("a.ktv")),
                                       dir.filePath(QStringLiteral("b.ktv"))};
    const std::array<QByteArray, 2> files{
        sampleFile(), ktv::write(gatherRecord(window.pageSet()), ktv::DecimalPoint::Dot)};
    for (std::size_t i = 0; i < paths.size(); ++i) {
        QFile file(paths[i]);
        if (!file.open(QIODevice::WriteOnly) || file.write(files[i]) != files[i].size()) {
            state.SkipWithError("cannot write the sample files");
            return;
        }
    }
    QElapsedTimer clock;
    double doneMs = 0;
    dialog.onShow = [&](const ScriptedFileDialog::Shown&) { clock.start(); }; // the user's OK
    const QString importDone = QString::fromUtf8(msg::kImportDone);
    prompter.onBox = [&](const RecordingPrompter::Box& box) {
        if (box.text == importDone) {
            doneMs = clock.nsecsElapsed() / 1e6;
        }
    };
    bench::StallMeter stalls;
    std::vector<double> times;
    std::size_t which = 0;
    for (auto _ : state) {
        doneMs = 0;
        dialog.answers = {paths[which]};
        which ^= 1;
        // Clicked from the running event loop, as a user's click arrives.
        QTimer::singleShot(0, &window, [&window] { window.pageSet().dcButton14->click(); });
        if (!bench::runUntil([&] { return doneMs > 0; }, 3000)) {
            state.SkipWithError("no import completion");
            break;
        }
        state.SetIterationTime(doneMs / 1000);
        times.push_back(doneMs);
        bench::runUntil([] { return false; }, 80 + static_cast<int>(times.size() % 17));
    }
    if (!times.empty()) {
        state.counters["median_ms"] = bench::percentile(times, 0.5);
        state.counters["p95_ms"] = bench::percentile(times, 0.95);
        state.counters["wire_bound_ms"] = 50 + 224 * 0.26 + 2;
        state.counters["longest_stall_ms"] = stalls.longestMs();
        state.counters["whole_sets_per_load"] =
            double(unit.peer().countOf(sim::RequestKind::WholeSet)) / double(times.size());
    }
}
BENCHMARK(LoadToImportDone)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace
