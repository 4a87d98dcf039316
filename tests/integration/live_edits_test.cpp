// Edits made on the window reach the simulated unit at line rate as their exact frames: band
// edits, drags, "EQ复位" and "EQ-BYPASS" of every equaliser, and the whole set a parameter
// file load sends. Afterwards the unit holds what the pages show.
#include "link_rig.h"

#include "app/form1.h"
#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "core/file_dialog.h"
#include "core/messages.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "link/fake_clock.h"
#include "link/full_state_frame.h"
#include "link/memory_line.h"
#include "pages/eq_panel.h"
#include "pages/page_set.h"
#include "pages/page_values_reader.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <array>
#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::testing;

namespace {

// Far beyond the 70 ms window in which a repeated request's answers are expected.
constexpr int kUserPauseMs = 250;

struct LiveRig {
    LiveRig() {
        unit.setLine({sim::PtyUnit::kLineRateUsPerByte, 2});
        Form1::Options options;
        options.finder = [this] { return unit.portPath(); };
        options.prompter = &prompter;
        options.fileDialog = &dialog;
        options.quit = [](int) {};
        window = std::make_unique<Form1>(std::move(options));
        window->show();
    }
    bool connect() {
        QTest::mouseClick(window->mnulianji(), Qt::LeftButton);
        return waitUntil([&] { return window->Label6()->text() == text(msg::kStatusConnected); });
    }
    int received(std::uint8_t group, std::uint8_t item) const {
        int n = 0;
        for (const auto& r : unit.peer().requests()) {
            n += r.kind == sim::RequestKind::Parameter && r.group == group && r.item == item;
        }
        return n;
    }
    // Runs a user's action and waits until the unit has had the request (group, item) and
    // the sender that wrote it has been stopped by its acknowledgement; then pauses as a user
    // does between actions. On a starved machine a request can go out twice and its second
    // answer come late: in the pause it meets the request it answers, not the next one.
    bool acknowledged(const std::function<void()>& action, std::uint8_t group, std::uint8_t item) {
        const int before = received(group, item);
        action();
        const link::LinkEngine& engine = window->engine();
        const bool done = waitUntil(
            [&] {
                return received(group, item) > before && !engine.Timer2().Enabled() &&
                       !engine.Timer3().Enabled();
            },
            3000);
        waitUntil([] { return false; }, kUserPauseMs);
        return done;
    }
    int boxes(const char* utf8) const {
        int n = 0;
        for (const auto& box : prompter.boxes) {
            n += box.text == text(utf8);
        }
        return n;
    }
    // Bytes 8 to 219 of the whole set as the pages would send it now.
    QByteArray pagesWholeSet() const {
        return link::fullStateFrame(readPageValues(window->pageSet())).mid(8);
    }

    sim::PtyUnit unit;
    RecordingPrompter prompter;
    ScriptedFileDialog dialog;
    std::unique_ptr<Form1> window;
};

// The band group of each equaliser's requests.
constexpr std::array<std::uint8_t, 7> kGroups = {0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x0D};
// The reset and bypass items of each group; every band request is item 01.
constexpr std::array<std::uint8_t, 7> kResetItems = {0x04, 0x05, 0x18, 0x03, 0x05, 0x07, 0x04};

void typeInto(QLineEdit* box, const QString& typed) {
    box->clear();
    QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Return);
}

QString e1Path() {
    return QStringLiteral(KORVANEX_PRESET_DATA_DIR "/e1.ktv");
}

} // namespace

// Catches: a band, reset or bypass request of any equaliser that is not built, built wrong
// (refused by the unit, implausible, or answered by a code that ends in "通信发生异常!"), or
// built from other values than the strips show; and a drag that does not reach the unit.
TEST(LiveEditsOverPty, EveryEqualiserEditDragResetAndBypass) {
    LiveRig rig;
    ASSERT_TRUE(rig.connect());
    ASSERT_EQ(rig.unit.peer().model().wholeSetBytes(), rig.pagesWholeSet())
        << "the pages show the unit's blocks";
    for (int n = 1; n <= 7; ++n) {
        SCOPED_TRACE(n);
        const EqSection& section = eqSection(n);
        const std::uint8_t group = kGroups[std::size_t(n - 1)];
        const std::uint8_t resetItem = kResetItems[std::size_t(n - 1)];
        rig.window->Image1_Click(section.page);
        EqPanel& panel = rig.window->pageSet().eq(n);

        EXPECT_TRUE(rig.acknowledged([&] { QTest::mouseClick(panel.reset, Qt::LeftButton); }, group,
                                     resetItem));
        EXPECT_TRUE(rig.acknowledged(
            [&] { typeInto(panel.strips[0]->gainBox(), QStringLiteral("-11.8")); }, group, 1));
        EXPECT_TRUE(rig.acknowledged(
            [&] { typeInto(panel.strips[0]->qBox(), QStringLiteral("4.2")); }, group, 1));
        EQline* graph = panel.graph;
        ASSERT_TRUE(graph->markerVisible(1));
        const QPoint at = graph->markerRect(1).center().toPoint();
        const float draggedFrom = panel.strips[1]->F();
        EXPECT_TRUE(rig.acknowledged(
            [&] {
                QTest::mousePress(graph, Qt::LeftButton, {}, at);
                QTest::mouseMove(graph, at + QPoint(40, -30));
                QTest::mouseRelease(graph, Qt::LeftButton, {}, at + QPoint(40, -30));
            },
            group, 1));
        EXPECT_NE(panel.strips[1]->F(), draggedFrom) << "the drag moved the band";
        EXPECT_TRUE(rig.acknowledged([&] { QTest::mouseClick(panel.bypass, Qt::LeftButton); },
                                     group, resetItem + 1));
        EXPECT_TRUE(rig.unit.peer().model().bypassed(group));
    }
    EXPECT_EQ(rig.boxes(msg::kCommError), 0);
    EXPECT_EQ(rig.boxes(msg::kNoReply), 0);
    EXPECT_EQ(rig.unit.peer().badFrames(), 0);
    EXPECT_TRUE(rig.unit.peer().model().implausibleValues().empty());
    EXPECT_EQ(rig.unit.peer().model().wholeSetBytes(), rig.pagesWholeSet());
}

// Catches: a loaded file's whole set that goes out more than once (a copy behind the first,
// cut or answered late: "通信发生异常!"), from other values than the file's, or that the unit
// refuses.
TEST(LiveEditsOverPty, LoadedFileGoesOutOnceAsTheWholeSet) {
    LiveRig rig;
    ASSERT_TRUE(QFileInfo::exists(e1Path()));
    ASSERT_TRUE(rig.connect());
    rig.dialog.answers = {e1Path()};
    QTest::mouseClick(rig.window->pageSet().dcButton14, Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return rig.boxes(msg::kImportDone) == 1; }, 3000));
    QTest::qWait(200); // room for a late copy (it would be whole at the unit 55 ms after the box)
    EXPECT_EQ(rig.boxes(msg::kImportDone), 1);
    EXPECT_EQ(rig.boxes(msg::kCommError), 0);
    EXPECT_TRUE(rig.window->engine().DeviceReady);

    std::vector<QByteArray> sets;
    for (const auto& r : rig.unit.peer().requests()) {
        if (r.kind == sim::RequestKind::WholeSet) {
            sets.push_back(r.frame);
        }
    }
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(QCryptographicHash::hash(sets[0], QCryptographicHash::Sha256).toHex(),
              "fa9b263d971a11ac52e3bc7f7827e652ea18430455b7ac6f5321fa0082cefbcd");
    EXPECT_EQ(sets[0].mid(170, 6).toHex(' '), "00 37 00 00 03 3e");
    EXPECT_EQ(rig.unit.peer().model().wholeSetBytes(), sets[0].mid(8));
    EXPECT_EQ(rig.unit.peer().badFrames(), 0);
    EXPECT_TRUE(rig.unit.peer().model().implausibleValues().empty());
}

// Catches a window that does not hand the link the clock of the timers it was given: the
// whole set would go out again on the tick that finds it still on the wire.
TEST(WindowClock, InjectedTimersRunWithTheirClock) {
    link::FakeClock clock;
    RecordingPrompter prompter;
    Form1::Options options;
    options.finder = [] { return QString(); };
    options.prompter = &prompter;
    auto memory = std::make_unique<link::MemoryLine>();
    link::MemoryLine* line = memory.get();
    options.line = std::move(memory);
    options.timers = clock.factory();
    options.clock = clock.monotonic();
    Form1 window(std::move(options));
    line->open = true;
    window.setMnulianjiEnabled(false);
    window.engine().store({.test = link::StoreTest::LinkUp, .step = 53});
    clock.advance(120);
    EXPECT_EQ(line->writes.size(), 1u);
}

namespace {

// The last parameter request the unit received: group, item and its first value byte.
std::array<int, 3> lastParameter(const sim::UnitPeer& unit) {
    const auto& log = unit.requests();
    for (auto r = log.rbegin(); r != log.rend(); ++r) {
        if (r->kind == sim::RequestKind::Parameter) {
            return {r->group, r->item, r->values.isEmpty() ? -1 : std::uint8_t(r->values[0])};
        }
    }
    return {-1, -1, -1};
}

// Moves a slider as a user does, `by` steps from where it stands.
int nudge(ctSlide* s, int by) {
    const int to = s->Value() + by <= s->Max() ? s->Value() + by : s->Value() - by;
    s->slider()->setValue(to);
    return to;
}

void recallMusicPreset(PageSet& p, int preset) {
    p.Combo1->setListIndex(preset);
    emit p.Combo1->activated(preset);
}

} // namespace

// Catches an edit made while a request awaits its answer that is lost (the last move of a drag
// or of a knob, stopped by the acknowledgement of the frame before it) or misjudged (the first
// control's acknowledgement judged against the second: "通信发生异常!", the second never sent).
TEST(EditsWhileAwaited, ReachTheUnitInOrder) {
    struct Case {
        const char* name;
        std::function<void(PageSet&, int)> move; // the first and the second move
        std::array<int, 2> last;                 // group and item of the last request
    };
    const Case cases[] = {
        {"slider drag", [](PageSet& p, int) { nudge(p.ctSlide9, 1); }, {0x05, 0x02}},
        {"strip knob",
         [](PageSet& p, int) { QTest::keyClick(p.LkSlide1[2]->knobTrack(), Qt::Key_Up); },
         {0x02, 0x01}},
        {"second control",
         [](PageSet& p, int k) { nudge(k == 0 ? p.ctSlide9 : p.ctSlide8, 3); },
         {0x03, 0x04}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClockedUnit rig;
        ASSERT_TRUE(rig.connect());
        ASSERT_TRUE(rig.settle());
        PageSet& p = rig.window->pageSet();
        c.move(p, 0);
        ASSERT_TRUE(rig.nextWrite());
        c.move(p, 1); // the first frame is on its way, its answer not yet back
        ASSERT_TRUE(rig.settle());
        EXPECT_EQ(rig.boxes(msg::kCommError), 0);
        EXPECT_EQ(rig.unit.model().wholeSetBytes(), rig.pagesWholeSet()) << "both moves arrived";
        const auto last = lastParameter(rig.unit);
        EXPECT_EQ((std::array<int, 2>{last[0], last[1]}), c.last);
    }
}

// Catches a recall replaced by a slider moved before its block came (the unit never recalls,
// DeviceReady stays cleared and every later band edit is dropped) or a move lost behind it: a
// slider of the recalled section ends with the recalled value, one elsewhere sends the user's
// value after the recall.
TEST(EditsWhileAwaited, RecallRunsToItsEnd) {
    for (const bool inSection : {true, false}) {
        for (const bool afterWrite : {false, true}) {
            SCOPED_TRACE(::testing::Message() << inSection << afterWrite);
            ClockedUnit rig;
            sim::UnitModel& model = rig.unit.model();
            model.read(9, 3, 1); // music preset 3 gets another main output low cut
            QByteArray music = model.block(1);
            music[41] = 77;
            model.setBlock(1, music);
            model.read(9, 0, 1);
            ASSERT_TRUE(rig.connect());
            ASSERT_TRUE(rig.settle());
            PageSet& p = rig.window->pageSet();
            ctSlide* s = inSection ? p.ctSlide9 : p.ctSlide8;
            recallMusicPreset(p, 3);
            if (afterWrite) {
                ASSERT_TRUE(rig.nextWrite());
            }
            const int user = nudge(s, s->Value() == 76 ? 2 : 1);
            ASSERT_TRUE(rig.settle());
            EXPECT_EQ(rig.boxes(msg::kMusicRecallDone), 1);
            EXPECT_EQ(rig.boxes(msg::kCommError), 0);
            EXPECT_TRUE(rig.window->engine().DeviceReady);
            EXPECT_EQ(model.currentPreset(0), 3);
            EXPECT_EQ(s->Value(), inSection ? 77 : user);
            EXPECT_EQ(model.wholeSetBytes(), rig.pagesWholeSet());
        }
    }
}

// Catches a recall or download ended by "通信发生异常!" or by a give-up inside its window that
// leaves DeviceReady cleared (every later band edit and recall dropped for good), or loses the
// move made meanwhile.
TEST(EditsWhileAwaited, FaultEndingARecallOrDownloadGivesDeviceReadyBack) {
    for (const bool download : {false, true}) {
        for (const bool garbled : {true, false}) {
            SCOPED_TRACE(::testing::Message() << download << garbled);
            ClockedUnit rig;
            ASSERT_TRUE(rig.connect());
            ASSERT_TRUE(rig.settle());
            sim::Fault fault;
            fault.when.kind = download ? sim::RequestKind::WholeSet : sim::RequestKind::BlockRead;
            if (garbled) {
                fault.replyWith = QByteArray("\x35\x82\x09\x09", 4);
            } else {
                fault.silentSends = -1;
            }
            rig.unit.faults().add(fault);
            PageSet& p = rig.window->pageSet();
            if (download) {
                rig.dialog.answers = {e1Path()};
                p.dcButton14->click();
            } else {
                recallMusicPreset(p, 2);
            }
            ASSERT_TRUE(rig.nextWrite());
            const int user = nudge(p.ctSlide8, 2);
            ASSERT_TRUE(rig.settle());
            EXPECT_EQ(rig.boxes(garbled ? msg::kCommError : msg::kNoReply), 1);
            EXPECT_TRUE(rig.window->engine().LinkUp());
            EXPECT_TRUE(rig.window->engine().DeviceReady);
            EXPECT_EQ(lastParameter(rig.unit), (std::array<int, 3>{0x03, 0x04, user}));
        }
    }
}

// Catches a request written again inside its window to a unit that answers late: a second
// whole set ("数据导入完成!" twice, or "通信发生异常!" after a good load) or a second copy of a
// connection's request; and an edit during the download that replaces it.
TEST(EditsWhileAwaited, SlowUnitsGetEachRequestOnce) {
    for (const int latencyMs : {35, 60}) {
        SCOPED_TRACE(latencyMs);
        ClockedUnit rig(latencyMs);
        ASSERT_TRUE(rig.connect());
        ASSERT_TRUE(rig.settle());
        EXPECT_EQ(rig.unit.countOf(sim::RequestKind::Link), 1);
        EXPECT_EQ(rig.unit.countOf(sim::RequestKind::BlockRead), 5);
        rig.dialog.answers = {e1Path()};
        rig.window->pageSet().dcButton14->click();
        ASSERT_TRUE(rig.nextWrite());
        const int user = nudge(rig.window->pageSet().ctSlide8, 2);
        ASSERT_TRUE(rig.settle());
        rig.runUntil([] { return false; }, 300);
        EXPECT_EQ(rig.unit.countOf(sim::RequestKind::WholeSet), 1);
        EXPECT_EQ(rig.boxes(msg::kImportDone), 1);
        EXPECT_EQ(rig.boxes(msg::kCommError), 0);
        EXPECT_TRUE(rig.window->engine().DeviceReady);
        EXPECT_EQ(rig.unit.requests().back().kind, sim::RequestKind::Parameter);
        EXPECT_EQ(lastParameter(rig.unit), (std::array<int, 3>{0x03, 0x04, user}));
        EXPECT_EQ(rig.unit.model().wholeSetBytes(), rig.pagesWholeSet());
    }
}
