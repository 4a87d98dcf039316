// The pages react to a user's move by rewriting read-outs (and the graph cut-offs that follow
// them) and panels; values set from code raise nothing until the page is asked to show them.

#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"
#include "eqcurve/eq_line.h"
#include "pages/page_set.h"
#include "pages/volume_frame.h"

#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace korvanex;

namespace {

class PageReadouts : public ::testing::Test {
protected:
    QWidget window;
    PageSet pages{&window};
};

// What a drag or key does: the inner slider moves and the page hears SlideChange.
void userMove(ctSlide* s, int value) {
    s->slider()->setValue(value);
}

} // namespace

// Catches a read-out written into its neighbour's box (the slider and box numbers differ)
// or by the wrong rule.
TEST_F(PageReadouts, UserMovesRewriteTheirOwnReadout) {
    PageSet& p = pages;
    const std::vector<std::tuple<ctSlide*, int, TextBox*, const char*>> rows{
        {p.ctSlide5, 455, p.Text6, "4.55KHz"},
        {p.ctSlide8, 3, p.Text9, "3dB"},
        {p.ctSlide9, 131, p.Text10, "152Hz"},
        {p.ctSlide11, 155, p.Text5, "200Hz"},
        {p.ctSlide20, 130, p.Text21, "150Hz"},
        {p.ctSlide21, 2, p.Text20, "2dB"},
        {p.ctSlide2, 306, p.Text2, "503Hz"},
        {p.ctSlide3, 1230, p.Text3, "12.3KHz"},
        {p.ctSlide4, 472, p.Text4, "1001Hz"},
        {p.ctSlide19, 1, p.Text19, "0.775V"},
        {p.ctSlide6[7], 127, p.Text7[7], "381ms"},
        {p.ctSlide6[1], 0, p.Text7[1], "12ms"},
        {p.ctSlide7[5], 60, p.Text8[5], "6.0s"},
        {p.ctSlide7[9], 0, p.Text8[9], "0%"},
        {p.ctSlide12[1], 255, p.Text12[1], "400Hz"},
        {p.ctSlide12[3], 5, p.Text12[3], "5"},
        {p.ctSlide13, 7, p.Text13, "7"},
        {p.ctSlide18, 60, p.Text18, "60"},
        {p.ctSlide1[2], 70, p.Text1[2], "70"},
    };
    for (const auto& [slider, value, box, text] : rows) {
        userMove(slider, value);
        EXPECT_EQ(box->Text(), QString::fromUtf8(text)) << text;
    }
    // A design text stays until its own slider moves: "250Hz" is not rewritten by others.
    EXPECT_EQ(p.Text12[0]->Text(), QStringLiteral("20Hz"));
    EXPECT_EQ(p.Text1[0]->Text(), QStringLiteral("32"));
}

// Catches a graph that does not follow its cut-off read-out, follows the wrong side, misses
// the x1000 of the kHz read-out, or a main-output graph that wrongly follows its low cut.
TEST_F(PageReadouts, GraphCutoffsFollowTheReadouts) {
    PageSet& p = pages;
    userMove(p.ctSlide11, 131);
    EXPECT_FLOAT_EQ(p.EQline2->HP_F(), 152.0f);
    userMove(p.ctSlide20, 0);
    EXPECT_FLOAT_EQ(p.EQline7->HP_F(), 20.0f);
    userMove(p.ctSlide4, 306);
    EXPECT_FLOAT_EQ(p.EQline3->HP_F(), 503.0f);
    userMove(p.ctSlide5, 455);
    EXPECT_FLOAT_EQ(p.EQline3->LP_F(), 4550.0f);
    userMove(p.ctSlide12[0], 100);
    EXPECT_FLOAT_EQ(p.EQline6->HP_F(), 120.0f);
    userMove(p.ctSlide12[1], 200);
    EXPECT_FLOAT_EQ(p.EQline6->LP_F(), 290.0f);
    const float before = p.EQline4->HP_F();
    userMove(p.ctSlide9, 100);
    EXPECT_FLOAT_EQ(p.EQline4->HP_F(), before);
    EXPECT_FLOAT_EQ(p.EQline1->HP_F(), 0.0f); // the music graph has no cut slider
}

// Catches centre read-outs that go stale: either centre slider rewrites both boxes.
TEST_F(PageReadouts, EitherCentreSliderRewritesBothReadouts) {
    PageSet& p = pages;
    p.ctSlide10[1]->setValue(10); // from code: read-out still "80"
    userMove(p.ctSlide10[0], 20);
    EXPECT_EQ(p.Text11[0]->Text(), QStringLiteral("20"));
    EXPECT_EQ(p.Text11[1]->Text(), QStringLiteral("10"));
}

// Catches any control that raises its change event when the program sets it (which would
// send requests during a block read or file load), and a read-out that the program cannot
// bring up to date afterwards.
TEST_F(PageReadouts, SettingFromCodeRaisesNothingAndShowReadoutCatchesUp) {
    PageSet& p = pages;
    int raised = 0;
    for (QWidget* root : p.Picture1) {
        for (auto* s : root->findChildren<ctSlide*>())
            QObject::connect(s, &ctSlide::SlideChange, [&] { ++raised; });
        for (auto* c : root->findChildren<ComboBox*>())
            QObject::connect(c, &ComboBox::Click, [&] { ++raised; });
        for (auto* b : root->findChildren<dcButton*>())
            QObject::connect(b, &dcButton::Click, [&] { ++raised; });
        for (auto* o : root->findChildren<OptionGroup*>())
            QObject::connect(o, &OptionGroup::Click, [&] { ++raised; });
    }
    for (auto* s : p.Frame1->findChildren<ctSlide*>())
        QObject::connect(s, &ctSlide::SlideChange, [&] { ++raised; });

    for (QWidget* root : p.Picture1)
        for (auto* s : root->findChildren<ctSlide*>())
            s->setValue(s->Max());
    for (ctSlide* s : p.ctSlide1)
        s->setValue(0);
    for (ComboBox* c : {p.Combo1, p.Combo2, p.Combo3, p.Combo4})
        c->setListIndex(3);
    for (OptionGroup* o : {p.Option1, p.Option2, p.Option3, p.Option4, p.Option5})
        o->setValue(1, true);
    p.dcButton15->setCaption(QStringLiteral("开"));
    p.dcButton3[1]->setBackColor(0x00C000);
    EXPECT_EQ(raised, 0);
    EXPECT_EQ(p.Text6->Text(), QStringLiteral("4KHz"));
    EXPECT_EQ(p.Text1[0]->Text(), QStringLiteral("32"));
    EXPECT_FALSE(p.dcButton4->isVisibleTo(p.Picture1[6]));

    EXPECT_TRUE(p.showReadout(p.ctSlide5));
    EXPECT_EQ(p.Text6->Text(), QStringLiteral("18KHz"));
    EXPECT_FLOAT_EQ(p.EQline3->LP_F(), 18000.0f);
    EXPECT_FALSE(p.showReadout(nullptr));
    p.showAllReadouts();
    EXPECT_EQ(p.Text1[0]->Text(), QStringLiteral("0"));
    EXPECT_EQ(p.Text12[1]->Text(), QStringLiteral("400Hz"));
    EXPECT_EQ(p.Text19->Text(), QStringLiteral("2V"));
    EXPECT_EQ(p.Text8[4]->Text(), QStringLiteral("6.0s"));
    p.showSaveMode();
    EXPECT_TRUE(p.dcButton4->isVisibleTo(p.Picture1[6]));
    EXPECT_EQ(raised, 0);
}

// Catches the wrong effect group shown or operable for a program, and a change to the echo
// cut group, which no program disables.
TEST_F(PageReadouts, EffectProgramDecidesThePanels) {
    PageSet& p = pages;
    QWidget* page = p.Picture1[2];
    struct Row {
        std::int16_t program;
        bool echoShown, echoEnabled, reverbShown, reverbEnabled, reverbCutEnabled;
    };
    for (const Row& r :
         {Row{3, true, false, false, false, false}, Row{4, false, true, true, true, true},
          Row{6, false, false, true, false, true}, Row{1, true, true, false, true, false}}) {
        p.state.EffectProgram = r.program;
        p.showEffectProgram();
        EXPECT_EQ(p.Picture8->isVisibleTo(page), r.echoShown) << r.program;
        EXPECT_EQ(p.Picture8->isEnabledTo(page), r.echoEnabled) << r.program;
        EXPECT_EQ(p.Picture9->isVisibleTo(page), r.reverbShown) << r.program;
        EXPECT_EQ(p.Picture9->isEnabledTo(page), r.reverbEnabled) << r.program;
        EXPECT_EQ(p.Picture7[0]->isEnabledTo(page), r.reverbCutEnabled) << r.program;
        EXPECT_TRUE(p.Picture7[1]->isEnabledTo(page)) << r.program;
        // The sliders inside a locked group cannot be operated.
        EXPECT_EQ(p.ctSlide6[0]->isEnabledTo(page), r.echoEnabled) << r.program;
        EXPECT_EQ(p.ctSlide2->isEnabledTo(page), r.reverbCutEnabled) << r.program;
    }
}

// Catches a save button that does not follow the user's save mode choice.
TEST_F(PageReadouts, SaveButtonFollowsManualSaveMode) {
    PageSet& p = pages;
    window.show();
    for (std::size_t i = 0; i < p.Picture1.size(); ++i)
        p.Picture1[i]->setVisible(i == 6);
    QWidget* page = p.Picture1[6];
    QTest::mouseClick(p.Option5->button(1), Qt::LeftButton);
    EXPECT_TRUE(p.dcButton4->isVisibleTo(page));
    QTest::mouseClick(p.Option5->button(0), Qt::LeftButton);
    EXPECT_FALSE(p.dcButton4->isVisibleTo(page));
}
