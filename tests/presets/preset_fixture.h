#pragma once
// The pages with a link behind them, headless, wired as the window wires them (strip-graph
// coupling, the graphs' start-up settings), with the file handlers over a scripted dialog and
// a recording prompter. Also the two golden files: the sample file E1 and the design state
// right after start.

#include "core/file_dialog.h"
#include "core/prompter.h"
#include "link/connect_bar.h"
#include "link/fake_clock.h"
#include "link/link_engine.h"
#include "link/memory_line.h"
#include "pages/eq_coupling.h"
#include "pages/page_set.h"
#include "presets/ktv_codec.h"
#include "presets/parameter_file_handlers.h"

#include <QByteArray>
#include <QWidget>
#include <memory>

namespace korvanex::preset_test {

struct PresetRig {
    PresetRig();
    ~PresetRig();

    // The link-up test holds: port open and the connect button disabled.
    void setLinkUp(bool up);

    QWidget window;
    link::MemoryLine line;
    link::MemoryConnectBar bar;
    RecordingPrompter prompter;
    link::FakeClock clock;
    ScriptedFileDialog dialog;
    std::unique_ptr<link::LinkEngine> engine;
    std::unique_ptr<PageSet> pages;
    std::unique_ptr<EqCoupling> coupling;
    std::unique_ptr<ParameterFileHandlers> files;
};

// A file of the data folder, byte for byte.
QByteArray goldenFile(const char* name);
QByteArray sha256Hex(const QByteArray& bytes);
inline constexpr const char* kE1Sha256 =
    "fa6ea96c837d9c0438125a8008f1ae135fbc1cfee5f0252466ef4bbc35a06226";
inline constexpr const char* kDesignSha256 =
    "c97f00cdaf5ee88553d678d9d7c7f99a9ad45a547b32a253bcbb1b69dfb915ea";

// E1 as a record, written out value by value in file order.
ktv::ParameterRecord e1Record();
// Sets the pages to E1 control by control, by name, as a user would leave them.
void setE1Pages(PageSet& p);

// Moves every control a file holds away from both the design state and E1: sliders one above
// their minimum, bands to 777 Hz, Q 7, 7 dB, the fields to 0 and effect program 2.
void scramble(PageSet& p);
// Every control, read-out, cut-off, caption and panel that E1 sets, checked by name.
void expectE1Pages(const PageSet& p);

// Every value a load may change and every value it must leave alone, by name: two pages
// that agree here look the same to a user.
struct PageSnapshot {
    std::vector<float> bands; // F, Q, gain of every strip and graph band
    std::vector<int> sliders;
    std::vector<QString> texts;
    std::vector<QString> captions;
    std::vector<float> cutoffs;
    std::vector<bool> panels;
    std::vector<int> fields;
    std::vector<int> selections;
    bool operator==(const PageSnapshot&) const = default;
};
PageSnapshot snapshot(const PageSet& p);

} // namespace korvanex::preset_test
