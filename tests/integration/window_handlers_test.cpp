// Every page control of the real window, used as a user uses it, against the simulated unit at
// line rate: one action at a time, each acknowledged before the next. Afterwards the unit holds
// what the pages show.
#include "link_rig.h"

#include "app/form1.h"
#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"
#include "link/full_state_frame.h"
#include "pages/page_set.h"
#include "pages/page_values_reader.h"

#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using namespace korvanex;
using namespace korvanex::testing;

namespace {

class HandlersOverPty : public ::testing::Test {
protected:
    HandlersOverPty() {
        unit.setLine({sim::PtyUnit::kLineRateUsPerByte, 2});
        Form1::Options options;
        options.finder = [this] { return unit.portPath(); };
        options.prompter = &prompter;
        options.quit = [](int) {};
        window = std::make_unique<Form1>(std::move(options));
        window->show();
    }

    link::LinkEngine& engine() { return window->engine(); }
    PageSet& p() { return window->pageSet(); }

    // Runs one user action and waits until the request it left has been acknowledged.
    void acted(const std::string& what, const std::function<void()>& action) {
        SCOPED_TRACE(what);
        const std::size_t before = unit.peer().requests().size();
        action();
        EXPECT_TRUE(engine().Timer2().Enabled() || engine().Timer3().Enabled())
            << "no request left";
        ASSERT_TRUE(waitUntil([&] {
            return unit.peer().requests().size() > before && !engine().Timer2().Enabled() &&
                   !engine().Timer3().Enabled() && !engine().replyInProgress();
        })) << "not acknowledged";
    }

    // A user's move to a value other than the slider's own.
    void moveTo(const std::string& name, ctSlide* s, int value) {
        if (s->Value() == value) {
            value = value > s->Min() ? value - 1 : value + 1;
        }
        acted(name + " to " + std::to_string(value), [&] { s->slider()->setValue(value); });
    }
    template <std::size_t N>
    void moveAll(const std::string& name, const std::array<ctSlide*, N>& row,
                 const std::vector<int>& values) {
        for (std::size_t i = 0; i < N; ++i) {
            moveTo(name + "(" + std::to_string(i) + ")", row[i], values[i]);
        }
    }
    void click(const std::string& name, dcButton* b) {
        acted(name, [&] { b->click(); });
    }
    void choose(const std::string& name, OptionGroup* g, int i) {
        acted(name + " " + std::to_string(i), [&] { g->button(i)->click(); });
    }
    void recall(const std::string& name, ComboBox* c, int i, const char* done) {
        const int boxes = count(done);
        acted(name + " " + std::to_string(i), [&] {
            c->setListIndex(i);
            emit c->activated(i);
        });
        EXPECT_EQ(count(done), boxes + 1) << name;
        EXPECT_TRUE(engine().DeviceReady) << name;
    }
    int count(const char* utf8) const {
        int n = 0;
        for (const auto& box : prompter.boxes) {
            n += box.text == text(utf8) ? 1 : 0;
        }
        return n;
    }

    sim::PtyUnit unit;
    RecordingPrompter prompter;
    std::unique_ptr<Form1> window;
};

int selectedButton(const std::array<dcButton*, 3>& row) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i]->BackColor() != 0xBA9EA0) {
            return int(i);
        }
    }
    return -1;
}

} // namespace

// Catches any control whose request does not reach the unit as the value the page shows: a
// wrong step, operand or frame, a request lost or replaced before it went out, a clamp the
// unit never hears of, or a recall that does not fill its page; and any bad frame, implausible
// value or unexpected box on the way.
TEST_F(HandlersOverPty, EveryControlReachesTheUnit) {
    QTest::mouseClick(window->mnulianji(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return window->Label6()->text() == text(msg::kStatusConnected); }));
    PageSet& pg = p();

    // Volumes: the maxima above both the volume and the power-on volume, so none pulls.
    moveTo("ctSlide14", pg.ctSlide14, 78);
    moveTo("ctSlide16", pg.ctSlide16, 79);
    moveTo("ctSlide18", pg.ctSlide18, 77);
    moveTo("ctSlide13", pg.ctSlide13, 21);
    moveTo("ctSlide15", pg.ctSlide15, 22);
    moveTo("ctSlide17", pg.ctSlide17, 23);
    moveAll("ctSlide1", pg.ctSlide1, {41, 42, 43});
    acted("Text1(2) 45 Enter", [&] {
        pg.Text1[2]->setText(QStringLiteral("44,6"));
        QTest::keyClick(pg.Text1[2], Qt::Key_Return);
    });
    EXPECT_EQ(pg.ctSlide1[2]->Value(), 45);

    moveTo("ctSlide19", pg.ctSlide19, 5);
    moveTo("ctSlide11", pg.ctSlide11, 140);
    moveTo("ctSlide8", pg.ctSlide8, 3);
    moveTo("ctSlide20", pg.ctSlide20, 17);
    moveTo("ctSlide21", pg.ctSlide21, 1);
    moveTo("ctSlide2", pg.ctSlide2, 400);
    moveTo("ctSlide3", pg.ctSlide3, 1230);
    moveTo("ctSlide4", pg.ctSlide4, 306);
    moveTo("ctSlide5", pg.ctSlide5, 455);
    moveAll("ctSlide6", pg.ctSlide6, {3, 9, 70, 12, 55, 120, 33, 127});
    moveAll("ctSlide7", pg.ctSlide7, {2, 11, 66, 5, 60, 0, 17, 39, 100, 1});
    moveTo("ctSlide9", pg.ctSlide9, 77);
    moveAll("ctSlide10", pg.ctSlide10, {61, 19});
    moveAll("ctSlide12", pg.ctSlide12, {90, 240, 44, 71});
    moveTo("ctSlide12(0) over the high cut", pg.ctSlide12[0], 250);
    EXPECT_EQ(pg.ctSlide12[0]->Value(), 240);

    click("dcButton15", pg.dcButton15);
    click("dcButton27", pg.dcButton27);
    click("dcButton12", pg.dcButton12);
    click("dcButton19(2)", pg.dcButton19[2]);
    click("dcButton3(1)", pg.dcButton3[1]);
    click("dcButton31", pg.dcButton31);
    click("dcButton32", pg.dcButton32);
    choose("Option1", pg.Option1, 8);
    choose("Option2", pg.Option2, 3);
    choose("Option3", pg.Option3, 5);
    choose("Option4", pg.Option4, 6);
    choose("Option5", pg.Option5, 1);
    const int saves = unit.peer().model().savesRequested();
    click("dcButton4", pg.dcButton4);
    EXPECT_EQ(unit.peer().model().savesRequested(), saves + 1);

    recall("Combo1", pg.Combo1, 4, msg::kMusicRecallDone);
    recall("Combo2", pg.Combo2, 2, msg::kMicARecallDone);
    recall("Combo3", pg.Combo3, 7, msg::kEffectRecallDone);
    recall("Combo4", pg.Combo4, 5, msg::kMicBRecallDone);

    const sim::UnitModel& model = unit.peer().model();
    const QByteArray pages = link::fullStateFrame(readPageValues(pg)).mid(8);
    const QByteArray held = model.wholeSetBytes();
    ASSERT_EQ(held.size(), pages.size());
    for (int k = 0; k < held.size(); ++k) {
        EXPECT_EQ(quint8(held[k]), quint8(pages[k])) << "whole-set byte " << k;
    }

    const PageState& s = pg.state;
    const QByteArray system = model.block(5);
    const int shown[23] = {pg.ctSlide1[0]->Value(),
                           pg.Combo1->ListIndex(),
                           pg.ctSlide14->Value(),
                           pg.ctSlide13->Value(),
                           pg.Option2->selectedIndex(),
                           pg.ctSlide1[1]->Value(),
                           pg.Combo2->ListIndex(),
                           pg.ctSlide16->Value(),
                           pg.ctSlide15->Value(),
                           pg.Option3->selectedIndex(),
                           pg.ctSlide1[2]->Value(),
                           pg.Combo3->ListIndex(),
                           pg.ctSlide18->Value(),
                           pg.ctSlide17->Value(),
                           pg.Option4->selectedIndex(),
                           s.MuteOn != 0 ? 255 : 0,
                           s.KeyLockOn != 0 ? 255 : 0,
                           2, // the feedback row's clicked button
                           selectedButton(pg.dcButton3),
                           s.ExciterOn,
                           quint8(system[20]), // the equaliser mode: no control sends it
                           pg.Option1->selectedIndex(),
                           pg.Option5->selectedIndex()};
    for (int k = 0; k < 23; ++k) {
        EXPECT_EQ(quint8(system[k]), shown[k]) << "system byte " << k;
    }

    EXPECT_EQ(unit.peer().badFrames(), 0);
    EXPECT_TRUE(model.implausibleValues().empty());
    std::vector<QString> boxes;
    for (const auto& box : prompter.boxes) {
        boxes.push_back(box.text);
    }
    ASSERT_EQ(boxes.size(), 7u);
    EXPECT_TRUE(boxes[0] == text(msg::kEqModeParametric) || boxes[0] == text(msg::kEqModeGraphic));
    EXPECT_EQ(boxes[1], text(msg::kConnectDone));
    EXPECT_EQ(boxes[2], text(msg::kSaveDone));
    EXPECT_EQ(boxes[3], text(msg::kMusicRecallDone));
    EXPECT_EQ(boxes[6], text(msg::kMicBRecallDone));
}
