// What the page handlers show and the order they keep: caption toggles, selector and switch
// colours, the mute box, the save button, the subwoofer cut pair, the volume limits, the volume
// boxes; and that nothing a handler does during a connection disturbs the connection.
#include "controls/colors.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"
#include "core/messages.h"
#include "eqcurve/eq_line.h"
#include "pages/block_fixture.h"
#include "pages/volume_handlers.h"

#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::block_samples;

namespace {

void move(ctSlide* s, int value) {
    s->slider()->setValue(value);
}

struct Linked : LinkedPages {
    Linked() {
        setLinkUp(true);
        engine->DeviceReady = true;
    }
};

QByteArray frameHex(const char* body) {
    return QByteArray("A56733313130") + body;
}

} // namespace

// Catches: a toggle deciding by its field instead of its caption (the centre switch reads "开"
// at design with its field 0), the wrong on value (the centre takes 71), or a display that
// waits for the link.
TEST(HandlerDisplay, CaptionTogglesDecideByCaption) {
    struct Toggle {
        dcButton* PageSet::*button;
        std::int16_t PageState::*field;
        const char* first;
        int firstValue;
        const char* second;
        int secondValue;
    };
    const Toggle toggles[] = {
        {&PageSet::dcButton15, &PageState::ExciterOn, "开", 255, "关", 0},
        {&PageSet::dcButton27, &PageState::CenterEffectOn, "关", 0, "开", 71},
        {&PageSet::dcButton12, &PageState::SubPhase, "0", 0, "180", 255},
    };
    for (const Toggle& t : toggles) {
        LinkedPages f; // link down
        dcButton* b = f.pages.get()->*t.button;
        std::int16_t& field = f.pages->state.*t.field;
        SCOPED_TRACE(b->Caption().toStdString());
        field = 7; // a block's byte: the caption decides, not the field
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(b->Caption(), QString::fromUtf8(t.first));
        EXPECT_EQ(field, t.firstValue);
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(b->Caption(), QString::fromUtf8(t.second));
        EXPECT_EQ(field, t.secondValue);
        b->setCaption(QStringLiteral("?")); // any caption but the off one counts as on
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(field, 0);
        EXPECT_EQ(f.engine->PendingStep, 0);
    }
}

// Catches: a row left with two marked buttons, the wrong selected colour (the input port's
// clicked colour is dark green, the feedback row's green), or no colour with the link down.
TEST(HandlerDisplay, SelectorRowsMarkTheClickedButton) {
    LinkedPages f;
    PageSet& p = *f.pages;
    p.dcButton3[2]->click();
    EXPECT_EQ(p.dcButton3[0]->BackColor(), kColorOff);
    EXPECT_EQ(p.dcButton3[1]->BackColor(), kColorOff);
    EXPECT_EQ(p.dcButton3[2]->BackColor(), 0x008000u);
    p.dcButton19[1]->click();
    for (int i : {0, 2, 3}) {
        EXPECT_EQ(p.dcButton19[std::size_t(i)]->BackColor(), kColorOff) << i;
    }
    EXPECT_EQ(p.dcButton19[1]->BackColor(), 0x00C000u);
    EXPECT_EQ(f.engine->PendingStep, 0);
}

// Catches: mute or lock deciding by colour or caption, the wrong colours (blue is 0xFF0000 in
// 0x00BBGGRR), a change with the link down, a missing or wrong box, the second sender left
// running, and anything acted on after the box (a connection may complete under it).
TEST(HandlerDisplay, MuteAndLockOnlyWhileLinked) {
    for (dcButton* PageSet::*button : {&PageSet::dcButton31, &PageSet::dcButton32}) {
        Linked f;
        dcButton* b = f.pages.get()->*button;
        std::int16_t& field =
            button == &PageSet::dcButton31 ? f.pages->state.MuteOn : f.pages->state.KeyLockOn;
        SCOPED_TRACE(b->Caption().toStdString());
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(field, -1);
        EXPECT_EQ(b->BackColor(), 0xFF0000u);
        b->setBackColor(kColorOff); // the field decides, not the colour
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(field, 0);
        EXPECT_EQ(b->BackColor(), kColorOff);
        EXPECT_EQ(f.engine->StepValue, 0);
        EXPECT_TRUE(f.prompter.boxes.empty());

        // Down, with the second sender running: it stops, then the box; nothing else.
        f.bar.connectEnabled = true;
        field = -1;
        b->setBackColor(kColorOn);
        f.engine->PendingStep = 60;
        f.engine->StepValue = 5;
        bool timer3AtBox = true;
        f.prompter.onBox = [&](const RecordingPrompter::Box&) {
            timer3AtBox = f.engine->Timer3().Enabled();
            f.bar.connectEnabled = false; // the connection completes under the box
        };
        QTest::mouseClick(b, Qt::LeftButton);
        ASSERT_EQ(f.prompter.boxes.size(), 1u);
        EXPECT_EQ(f.prompter.boxes[0].text, msg::text(msg::kNotOnline));
        EXPECT_EQ(f.prompter.boxes[0].title, msg::text(msg::kWindowCaption));
        EXPECT_EQ(f.prompter.boxes[0].icon, BoxIcon::Exclamation);
        EXPECT_FALSE(timer3AtBox) << "the second sender stops before the box";
        EXPECT_EQ(field, -1);
        EXPECT_EQ(b->BackColor(), kColorOn);
        EXPECT_EQ(f.engine->PendingStep, 60);
        EXPECT_EQ(f.engine->StepValue, 5);
    }
}

// Catches: the save button following the link instead of the choice, or not following it.
TEST(HandlerDisplay, SaveButtonFollowsTheSaveModeWhateverTheLink) {
    LinkedPages f;
    PageSet& p = *f.pages;
    p.Option5->button(1)->click();
    EXPECT_FALSE(p.dcButton4->isHidden());
    p.Option5->button(0)->click();
    EXPECT_TRUE(p.dcButton4->isHidden());
    EXPECT_EQ(f.engine->PendingStep, 0);
}

// Catches: a cut moved past the other not held at it (either way round), a cut moved onto the
// other or off it pushed elsewhere, a read-out or graph cut-off left at the unheld value, and
// the bass volumes coupled to each other. Whether equal counts as passed (>= or >) cannot
// show: holding a cut at the value it was moved to changes nothing.
TEST(HandlerDisplay, SubwooferCutsStayInOrder) {
    LinkedPages f;
    PageSet& p = *f.pages;
    move(p.ctSlide12[0], 200); // high cut at 150
    EXPECT_EQ(p.ctSlide12[0]->Value(), 150);
    EXPECT_EQ(p.ctSlide12[1]->Value(), 150);
    EXPECT_EQ(p.Text12[0]->Text(), QStringLiteral("190Hz"));
    EXPECT_FLOAT_EQ(p.EQline6->HP_F(), 190.0f);

    p.ctSlide12[0]->setValue(50);
    move(p.ctSlide12[1], 40);
    EXPECT_EQ(p.ctSlide12[1]->Value(), 50);
    EXPECT_EQ(p.Text12[1]->Text(), QStringLiteral("70Hz"));
    EXPECT_FLOAT_EQ(p.EQline6->LP_F(), 70.0f);
    // Off the low cut, onto it, just past it, off again; then the low cut just past.
    for (const auto& [to, held] : {std::pair{51, 51}, {50, 50}, {49, 50}, {51, 51}}) {
        move(p.ctSlide12[1], to);
        EXPECT_EQ(p.ctSlide12[1]->Value(), held) << to;
    }
    move(p.ctSlide12[0], 52);
    EXPECT_EQ(p.ctSlide12[0]->Value(), 51);
    EXPECT_EQ(p.Text12[0]->Text(), QStringLiteral("71Hz"));

    p.ctSlide12[3]->setValue(10);
    move(p.ctSlide12[2], 60);
    EXPECT_EQ(p.ctSlide12[2]->Value(), 60);
    EXPECT_EQ(p.ctSlide12[3]->Value(), 10);
}

// Catches, on each of the three volume rows (music, microphone, effect), the other two rows'
// maxima above the moved row's: a volume (dragged or typed), power-on or pull-down held to
// another row's maximum, or a value just past its own let through; a pull-down that raises or
// touches another row; boxes not rewritten; a maximum sending the pulled value's step instead of
// its own. A slider set to its own value raises nothing, so the rows at the maximum cannot tell
// >= from >: they catch a value equal to the maximum moved off it.
TEST(HandlerDisplay, VolumeOrderRules) {
    enum Moved { Volume, Typed, PowerOn, Maximum };
    struct Case {
        const char* name;
        int volume, powerOn, maximum;
        Moved moved;
        int to;
        int volumeAfter, powerOnAfter, maximumAfter;
    };
    const Case cases[] = {
        {"volume dragged over the maximum", 32, 32, 60, Volume, 70, 60, 32, 60},
        {"volume dragged just past the maximum", 32, 32, 60, Volume, 61, 60, 32, 60},
        {"volume dragged to the maximum", 32, 32, 60, Volume, 60, 60, 32, 60},
        {"volume typed just past the maximum", 32, 32, 60, Typed, 61, 60, 32, 60},
        {"volume typed under the maximum", 32, 32, 60, Typed, 45, 45, 32, 60},
        {"maximum under both", 50, 32, 80, Maximum, 20, 20, 20, 20},
        {"maximum just under both", 50, 50, 80, Maximum, 49, 49, 49, 49},
        {"maximum under the power-on only", 10, 32, 80, Maximum, 20, 10, 20, 20},
        {"maximum under the volume only", 50, 10, 80, Maximum, 20, 20, 10, 20},
        {"maximum to exactly both", 30, 30, 80, Maximum, 30, 30, 30, 30},
        {"maximum raised", 20, 20, 20, Maximum, 70, 20, 20, 70},
        {"power-on dragged to the maximum", 32, 32, 60, PowerOn, 60, 32, 60, 60},
        {"power-on dragged just past the maximum", 32, 32, 60, PowerOn, 61, 32, 60, 60},
    };
    struct Row {
        ctSlide* PageSet::*powerOn;
        TextBox* PageSet::*powerOnBox;
        ctSlide* PageSet::*maximum;
        TextBox* PageSet::*maximumBox;
        int steps[4]; // by Moved
    };
    using P = PageSet;
    const Row rows[] = {{&P::ctSlide13, &P::Text13, &P::ctSlide14, &P::Text14, {7, 7, 39, 40}},
                        {&P::ctSlide15, &P::Text15, &P::ctSlide16, &P::Text16, {14, 14, 41, 42}},
                        {&P::ctSlide17, &P::Text17, &P::ctSlide18, &P::Text18, {24, 24, 43, 44}}};
    Linked f;
    PageSet& p = *f.pages;
    for (const Case& c : cases) {
        for (std::size_t k = 0; k < 3; ++k) {
            SCOPED_TRACE(testing::Message() << c.name << ", row " << k);
            const Row& r = rows[k];
            for (std::size_t j = 0; j < 3; ++j) {
                p.ctSlide1[j]->setValue(c.volume);
                (p.*rows[j].powerOn)->setValue(c.powerOn);
                (p.*rows[j].maximum)->setValue(j == k ? c.maximum : 80);
                for (TextBox* box : {p.Text1[j], p.*rows[j].powerOnBox, p.*rows[j].maximumBox}) {
                    box->setText(QStringLiteral("?"));
                }
            }
            f.engine->PendingStep = 0;
            if (c.moved == Typed) {
                p.Text1[k]->setText(QString::number(c.to));
                QTest::keyClick(p.Text1[k], Qt::Key_Return);
            } else {
                move(c.moved == Volume    ? p.ctSlide1[k]
                     : c.moved == PowerOn ? p.*r.powerOn
                                          : p.*r.maximum,
                     c.to);
            }
            EXPECT_EQ(f.engine->PendingStep, r.steps[c.moved]);
            for (std::size_t j = 0; j < 3; ++j) {
                const bool own = j == k;
                EXPECT_EQ(p.ctSlide1[j]->Value(), own ? c.volumeAfter : c.volume) << j;
                EXPECT_EQ((p.*rows[j].powerOn)->Value(), own ? c.powerOnAfter : c.powerOn) << j;
                EXPECT_EQ((p.*rows[j].maximum)->Value(), own ? c.maximumAfter : 80) << j;
                // A volume move rewrites all three volume boxes.
                if (c.moved <= Typed) {
                    EXPECT_EQ(p.Text1[j]->Text(), QString::number(own ? c.volumeAfter : c.volume));
                }
            }
            // Whatever moved or was pulled down shows its value.
            if (c.volumeAfter != c.volume) {
                EXPECT_EQ(p.Text1[k]->Text(), QString::number(c.volumeAfter));
            }
            if (c.powerOnAfter != c.powerOn || c.moved == PowerOn) {
                EXPECT_EQ((p.*r.powerOnBox)->Text(), QString::number(c.powerOnAfter));
            }
            if (c.moved == Maximum) {
                EXPECT_EQ((p.*r.maximumBox)->Text(), QString::number(c.maximumAfter));
            }
        }
    }
}

// Catches: a typed volume read by the wrong rules: ',' not a decimal point, the range tested
// after rounding, rounding other than half to even, or hex, inf, nan and units accepted.
TEST(HandlerDisplay, TypedVolumes) {
    const std::pair<const char*, std::optional<int>> entries[] = {
        {"40", 40},   {" 40 ", 40},  {"32.5", 32},  {"33.5", 34}, {"33,5", 34}, {"40,0", 40},
        {"4e1", 40},  {"0", 0},      {"80", 80},    {"79.5", 80}, {"80.4", {}}, {"85", {}},
        {"-0.4", {}}, {"1.2.3", {}}, {"1,2,3", {}}, {"&H20", {}}, {"0x20", {}}, {"inf", {}},
        {"nan", {}},  {"40dB", {}},  {"", {}},      {"abc", {}},  {"4 0", {}},
    };
    for (const auto& [text, volume] : entries) {
        EXPECT_EQ(typedVolume(QString::fromUtf8(text)), volume) << '"' << text << '"';
    }
}

// Catches: Enter acting on the text after the key instead of before, a refused entry not
// restored, a typed volume that skips the maximum (70 under 60 must never be sent), and a key
// that leaves no request while linked or one while not.
TEST(HandlerDisplay, VolumeBoxKeys) {
    Linked f;
    PageSet& p = *f.pages;
    p.ctSlide1[1]->setValue(20);
    p.Text1[1]->setText(QString());
    for (const char* key : {"8", "5"}) {
        f.engine->PendingStep = 0;
        QTest::keyClicks(p.Text1[1], QString::fromLatin1(key));
        EXPECT_EQ(f.engine->PendingStep, 14) << key;
    }
    EXPECT_EQ(p.Text1[1]->Text(), QStringLiteral("85"));
    f.engine->PendingStep = 0;
    QTest::keyClick(p.Text1[1], Qt::Key_Return);
    EXPECT_EQ(p.Text1[1]->Text(), QStringLiteral("20"));
    EXPECT_EQ(p.ctSlide1[1]->Value(), 20);
    EXPECT_EQ(f.engine->PendingStep, 14);

    p.ctSlide14->setValue(60);
    p.Text1[0]->setText(QStringLiteral("70"));
    QTest::keyClick(p.Text1[0], Qt::Key_Enter); // the keypad's Enter
    EXPECT_EQ(p.ctSlide1[0]->Value(), 60);
    EXPECT_EQ(p.Text1[0]->Text(), QStringLiteral("60"));
    f.line.writes.clear();
    f.clock.advance(20);
    ASSERT_FALSE(f.line.writes.empty());
    EXPECT_EQ(f.line.writes.back().toHex().toUpper(), frameHex("0402063C44"));

    p.Text1[2]->setText(QStringLiteral("33,5"));
    p.Text1[1]->setText(QStringLiteral("?"));
    QTest::keyClick(p.Text1[2], Qt::Key_Return);
    EXPECT_EQ(p.ctSlide1[2]->Value(), 34);
    EXPECT_EQ(p.Text1[2]->Text(), QStringLiteral("34"));
    EXPECT_EQ(p.Text1[1]->Text(), QStringLiteral("20")) << "all three boxes rewritten";

    f.setLinkUp(false);
    f.engine->PendingStep = 0;
    p.Text1[2]->setText(QStringLiteral("x"));
    QTest::keyClick(p.Text1[2], Qt::Key_Return);
    EXPECT_EQ(p.Text1[2]->Text(), QStringLiteral("34"));
    EXPECT_EQ(f.engine->PendingStep, 0);
}
