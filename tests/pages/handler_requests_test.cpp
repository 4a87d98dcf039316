// Every page handler against the request contract: with the link up it leaves exactly its step,
// its operand and its owner timer running (the other timer untouched); with the link down it
// stores nothing; a section recall also needs the unit ready. Then the frame the next tick
// writes, for one member of each family.
#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"
#include "link/frames.h"
#include "pages/block_fixture.h"

#include <QApplication>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace korvanex;
using namespace korvanex::block_samples;

namespace {

constexpr int kUntouched = 99; // operands hold this before a handler runs

struct Row {
    const char* name;
    std::function<void(PageSet&)> act;
    int step;
    int timer; // 2 or 3
    std::optional<int> StepValue{}, StepIndex{}, SaveModeIndex{};
};

void move(ctSlide* s, int value) {
    s->slider()->setValue(value);
}
void click(dcButton* b) {
    // The feedback row is hidden; click() is what a mouse release on it would raise.
    b->click();
}
void choose(OptionGroup* g, int i) {
    g->button(i)->click();
}
void pick(ComboBox* c, int i) {
    c->setListIndex(i);
    emit c->activated(i);
}

std::vector<Row> rows() {
    using P = PageSet;
    return {
        {"ctSlide11", [](P& p) { move(p.ctSlide11, 100); }, 9, 2},
        {"ctSlide20", [](P& p) { move(p.ctSlide20, 100); }, 55, 2},
        {"ctSlide9", [](P& p) { move(p.ctSlide9, 100); }, 26, 2},
        {"ctSlide2", [](P& p) { move(p.ctSlide2, 100); }, 16, 2},
        {"ctSlide4", [](P& p) { move(p.ctSlide4, 100); }, 18, 2},
        {"ctSlide3", [](P& p) { move(p.ctSlide3, 900); }, 17, 2},
        {"ctSlide5", [](P& p) { move(p.ctSlide5, 900); }, 19, 2},
        {"ctSlide8", [](P& p) { move(p.ctSlide8, 2); }, 11, 2},
        {"ctSlide21", [](P& p) { move(p.ctSlide21, 2); }, 56, 2},
        {"ctSlide19", [](P& p) { move(p.ctSlide19, 4); }, 3, 2},
        {"ctSlide6(0)", [](P& p) { move(p.ctSlide6[0], 10); }, 20, 2, {}, 0},
        {"ctSlide6(5)", [](P& p) { move(p.ctSlide6[5], 10); }, 20, 2, {}, 5},
        {"ctSlide7(8)", [](P& p) { move(p.ctSlide7[8], 10); }, 21, 2, {}, 8},
        {"ctSlide7(0)", [](P& p) { move(p.ctSlide7[0], 10); }, 21, 2, {}, 0},
        {"ctSlide10(0)", [](P& p) { move(p.ctSlide10[0], 10); }, 30, 2, 0},
        {"ctSlide10(1)", [](P& p) { move(p.ctSlide10[1], 10); }, 30, 2, 1},
        {"ctSlide12(3)", [](P& p) { move(p.ctSlide12[3], 10); }, 35, 3, 3},
        {"ctSlide12(1)", [](P& p) { move(p.ctSlide12[1], 200); }, 35, 3, 1},
        {"ctSlide12(0)", [](P& p) { move(p.ctSlide12[0], 100); }, 35, 3, 0},
        {"ctSlide1(0)", [](P& p) { move(p.ctSlide1[0], 10); }, 7, 2},
        {"ctSlide1(1)", [](P& p) { move(p.ctSlide1[1], 10); }, 14, 2},
        {"ctSlide1(2)", [](P& p) { move(p.ctSlide1[2], 10); }, 24, 2},
        {"ctSlide13", [](P& p) { move(p.ctSlide13, 10); }, 39, 3},
        {"ctSlide14", [](P& p) { move(p.ctSlide14, 70); }, 40, 3},
        {"ctSlide15", [](P& p) { move(p.ctSlide15, 10); }, 41, 3},
        {"ctSlide16", [](P& p) { move(p.ctSlide16, 70); }, 42, 3},
        {"ctSlide17", [](P& p) { move(p.ctSlide17, 10); }, 43, 3},
        {"ctSlide18", [](P& p) { move(p.ctSlide18, 70); }, 44, 3},
        {"Text1(0) key", [](P& p) { QTest::keyClick(p.Text1[0], Qt::Key_5); }, 7, 2},
        {"Text1(2) key", [](P& p) { QTest::keyClick(p.Text1[2], Qt::Key_5); }, 24, 2},
        {"dcButton15", [](P& p) { click(p.dcButton15); }, 4, 2},
        {"dcButton27", [](P& p) { click(p.dcButton27); }, 31, 2},
        {"dcButton12", [](P& p) { click(p.dcButton12); }, 36, 3},
        {"dcButton19(0)", [](P& p) { click(p.dcButton19[0]); }, 10, 2, 0},
        {"dcButton19(2)", [](P& p) { click(p.dcButton19[2]); }, 10, 2, 2},
        {"dcButton3(0)", [](P& p) { click(p.dcButton3[0]); }, 49, 3, 0},
        {"dcButton3(2)", [](P& p) { click(p.dcButton3[2]); }, 49, 3, 2},
        {"dcButton31", [](P& p) { click(p.dcButton31); }, 50, 3, 255},
        {"dcButton32", [](P& p) { click(p.dcButton32); }, 51, 3, 255},
        {"Option1(3)", [](P& p) { choose(p.Option1, 3); }, 48, 3, 3},
        {"Option2(4)", [](P& p) { choose(p.Option2, 4); }, 45, 3, 4},
        {"Option3(5)", [](P& p) { choose(p.Option3, 5); }, 46, 3, 5},
        {"Option4(7)", [](P& p) { choose(p.Option4, 7); }, 47, 3, 7},
        {"Option5(1)", [](P& p) { choose(p.Option5, 1); }, 59, 3, {}, {}, 1},
        {"dcButton4", [](P& p) { click(p.dcButton4); }, 60, 3},
    };
}

struct Matrix : LinkedPages {
    // Both senders stopped, the operands at kUntouched, the unit ready; with the link up the
    // sender that does not own `step` is running, so that a handler stopping it shows.
    void prepare(bool up, int step, int timer) {
        if (engine->recallOrDownloadRunning()) {
            line.unplug(); // ends the recall the last case stored, which nothing answers
            prompter.boxes.clear();
        }
        setLinkUp(true);
        engine->PendingStep = 0;
        clock.advance(50); // each sender finds a step it does not own and stops
        setLinkUp(up);
        if (up) {
            link::LinkStore other;
            other.test = link::StoreTest::Always;
            other.step = timer == 2 ? 50 : 3;
            engine->store(other);
        }
        engine->PendingStep = step + 100; // a step no sender owns
        engine->StepValue = engine->StepIndex = engine->SaveModeIndex = kUntouched;
        engine->DeviceReady = true;
        line.writes.clear();
    }
    bool timer(int n) const { return (n == 2 ? engine->Timer2() : engine->Timer3()).Enabled(); }
};

} // namespace

// Catches, per handler: the wrong step, operand or owner timer; an operand stored into the
// wrong variable; the other sender stopped; anything stored or started with the link down
// (port closed, or open while the connect button is still enabled). Each of the three passes
// has its own pages, so that every act moves its control there too and raises its event.
TEST(HandlerRequests, EveryHandlerLinkedAndNot) {
    Matrix f, down[2];
    for (const Row& r : rows()) {
        SCOPED_TRACE(r.name);
        f.prepare(true, r.step, r.timer);
        r.act(*f.pages);
        EXPECT_EQ(f.engine->PendingStep, r.step);
        EXPECT_EQ(f.engine->StepValue, r.StepValue.value_or(kUntouched));
        EXPECT_EQ(f.engine->StepIndex, r.StepIndex.value_or(kUntouched));
        EXPECT_EQ(f.engine->SaveModeIndex, r.SaveModeIndex.value_or(kUntouched));
        EXPECT_TRUE(f.timer(r.timer)) << "owner timer";
        EXPECT_TRUE(f.timer(r.timer == 2 ? 3 : 2)) << "the other sender left running";

        for (const bool portOpen : {false, true}) {
            SCOPED_TRACE(portOpen ? "port open, not linked" : "port closed");
            Matrix& d = down[portOpen];
            d.prepare(false, r.step, r.timer);
            d.line.open = portOpen;
            r.act(*d.pages);
            EXPECT_EQ(d.engine->PendingStep, r.step + 100);
            EXPECT_EQ(d.engine->StepValue, kUntouched);
            EXPECT_EQ(d.engine->StepIndex, kUntouched);
            EXPECT_EQ(d.engine->SaveModeIndex, kUntouched);
            EXPECT_FALSE(d.timer(2));
            EXPECT_FALSE(d.timer(3));
        }
    }
}

// Catches: a recall sent while the link is down or the unit busy (a connection's read or
// another recall) or on a stray wheel, the wrong section or block, a preset not taken from the
// list (the first and the last item of each are sent as shown), or DeviceReady left true (the
// recalled block's band echoes would queue requests).
TEST(HandlerRequests, SectionRecallNeedsLinkAndReadyUnit) {
    struct Recall {
        ComboBox* PageSet::*combo;
        int last, RecallMode, NextBlock;
    };
    const Recall recalls[] = {{&PageSet::Combo1, 5, 9, 1},
                              {&PageSet::Combo2, 5, 10, 2},
                              {&PageSet::Combo3, 7, 11, 3},
                              {&PageSet::Combo4, 5, 12, 4}};
    for (const Recall& r : recalls) {
        for (const int preset : {0, r.last}) {
            SCOPED_TRACE(testing::Message() << r.RecallMode << " preset " << preset);
            Matrix f; // a recall sent holds the unit busy: each one its own pages
            // A wheel over a list that does not have the keyboard focus (nor takes it) is a
            // stray scroll of the page: it neither picks an item nor recalls.
            ComboBox* list = f.pages.get()->*r.combo;
            EXPECT_EQ(list->focusPolicy(), Qt::StrongFocus);
            f.prepare(true, 52, 2);
            list->setListIndex(1);
            QWheelEvent wheel({4, 4}, list->mapToGlobal(QPointF(4, 4)), {}, {0, -120}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(list, &wheel);
            EXPECT_FALSE(wheel.isAccepted()) << "left to the page";
            EXPECT_EQ(list->ListIndex(), 1);
            EXPECT_EQ(f.engine->PendingStep, 152);
            for (const bool up : {false, true}) {
                for (const bool ready : {false, true}) {
                    f.prepare(up, 52, 2);
                    f.engine->DeviceReady = ready;
                    f.engine->RecallMode = f.engine->NextBlock = f.engine->RecallPreset =
                        kUntouched;
                    pick(list, preset);
                    const bool sent = up && ready; // the last of the four
                    EXPECT_EQ(f.engine->PendingStep, sent ? 52 : 152) << up << ready;
                    EXPECT_EQ(f.engine->RecallMode, sent ? r.RecallMode : kUntouched);
                    EXPECT_EQ(f.engine->NextBlock, sent ? r.NextBlock : kUntouched);
                    EXPECT_EQ(f.engine->RecallPreset, sent ? preset : kUntouched);
                    EXPECT_EQ(f.engine->DeviceReady, sent ? false : ready);
                    EXPECT_EQ(f.timer(2), sent);
                    EXPECT_EQ(f.engine->StepValue, kUntouched);
                    f.clock.advance(20); // what the unit receives
                    EXPECT_EQ(f.line.writes, sent ? std::vector{link::blockReadFrame(
                                                        r.RecallMode, preset, r.NextBlock)}
                                                  : std::vector<QByteArray>{});
                }
            }
        }
    }
    Matrix f;
    // A list showing no item recalls with the preset already stored.
    f.prepare(true, 52, 2);
    f.engine->RecallPreset = 3;
    f.pages->Combo1->setListIndex(-1);
    emit f.pages->Combo1->Click();
    EXPECT_EQ(f.engine->PendingStep, 52);
    EXPECT_EQ(f.engine->RecallPreset, 3);
}

// Catches, per family: the frame the next tick writes not carrying what the page shows
// (a clamp not seen by the builder, an operand for the wrong element, the wrong sender).
TEST(HandlerRequests, NextTickWritesTheFrame) {
    struct Tick {
        const char* name;
        std::function<void(PageSet&)> act;
        int ms;
        const char* hex; // after A5 67 33 31 31 30
    };
    const Tick ticks[] = {
        {"recall Combo2 2", [](PageSet& p) { pick(p.Combo2, 2); }, 20, "050A02100208"},
        {"sub low cut over the high cut", [](PageSet& p) { move(p.ctSlide12[0], 200); }, 50,
         "040702969F"},
        {"centre effect on", [](PageSet& p) { click(p.dcButton27), click(p.dcButton27); }, 20,
         "0406044751"},
        {"mute", [](PageSet& p) { click(p.dcButton31); }, 50, "04080CFF13"},
        {"input port BGM", [](PageSet& p) { click(p.dcButton3[1]); }, 50, "04080B0114"},
        {"echo high cut", [](PageSet& p) { move(p.ctSlide5, 455); }, 20,
         "0504050037"
         "40"},
        {"echo B delay", [](PageSet& p) { move(p.ctSlide6[7], 127); }, 20, "04040D7F90"},
        {"centre microphone", [](PageSet& p) { move(p.ctSlide10[1], 79); }, 20, "0406034F58"},
        {"music volume over its maximum",
         [](PageSet& p) {
             p.ctSlide14->setValue(60);
             move(p.ctSlide1[0], 70);
         },
         20, "0402063C44"},
        {"music maximum pulls down",
         [](PageSet& p) {
             p.ctSlide1[0]->setValue(50);
             move(p.ctSlide14, 20);
         },
         50, "040802141E"},
        {"key shift", [](PageSet& p) { choose(p.Option1, 3); }, 50, "04080A0315"},
        {"manual save mode", [](PageSet& p) { choose(p.Option5, 1); }, 50, "04080E0117"},
        {"unit save", [](PageSet& p) { click(p.dcButton4); }, 50, "04080F7F96"},
    };
    Matrix f;
    for (const Tick& t : ticks) {
        SCOPED_TRACE(t.name);
        f.prepare(true, 0, 2);
        f.clock.advance(50); // the running other sender stops
        f.line.writes.clear();
        t.act(*f.pages);
        f.clock.advance(t.ms);
        ASSERT_EQ(f.line.writes.size(), 1u);
        EXPECT_EQ(f.line.writes[0].toHex().toUpper(),
                  QByteArray("A56733313130") + QByteArray(t.hex).toUpper());
    }
}
