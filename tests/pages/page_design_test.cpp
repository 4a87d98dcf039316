// Every page at its design state, as tables: ranges, values, read-out texts, captions,
// colours, lists and what is shown. Controls are read by their own flags (isHidden,
// isVisibleTo the page), since a page that is not current is not visible as a whole.

#include "controls/colors.h"
#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "pages/eq_panel.h"
#include "pages/page_set.h"
#include "pages/volume_frame.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QWidget>
#include <gtest/gtest.h>
#include <set>

using namespace korvanex;

namespace {

class PageDesign : public ::testing::Test {
protected:
    QWidget window;
    PageSet pages{&window};
};

struct SliderRow {
    const char* name;
    ctSlide* slider;
    int minimum, maximum, value;
    TextBox* readout;
    const char* text;
};

} // namespace

// Catches a wrong range, design value or design text, a read-out tied to the wrong slider
// (ctSlide5 -> Text6, ctSlide8 -> Text9, ctSlide9 -> Text10, ctSlide11 -> Text5,
// ctSlide20 -> Text21, ctSlide21 -> Text20), and derived texts where the design has literal
// ones ("50Hz", "250Hz").
TEST_F(PageDesign, SlidersAndReadoutsAtDesign) {
    PageSet& p = pages;
    std::vector<SliderRow> rows{
        {"ctSlide19", p.ctSlide19, 0, 6, 0, p.Text19, "OFF"},
        {"ctSlide11", p.ctSlide11, 0, 155, 80, p.Text5, "50Hz"},
        {"ctSlide8", p.ctSlide8, 0, 3, 0, p.Text9, "0dB"},
        {"ctSlide20", p.ctSlide20, 0, 155, 80, p.Text21, "50Hz"},
        {"ctSlide21", p.ctSlide21, 0, 3, 0, p.Text20, "0dB"},
        {"ctSlide2", p.ctSlide2, 0, 472, 0, p.Text2, "20Hz"},
        {"ctSlide3", p.ctSlide3, 400, 1800, 400, p.Text3, "4KHz"},
        {"ctSlide4", p.ctSlide4, 0, 472, 0, p.Text4, "20Hz"},
        {"ctSlide5", p.ctSlide5, 400, 1800, 400, p.Text6, "4KHz"},
        {"ctSlide9", p.ctSlide9, 0, 155, 0, p.Text10, "20Hz"},
        {"ctSlide10(0)", p.ctSlide10[0], 0, 80, 80, p.Text11[0], "80"},
        {"ctSlide10(1)", p.ctSlide10[1], 0, 80, 80, p.Text11[1], "80"},
        {"ctSlide12(0)", p.ctSlide12[0], 0, 255, 0, p.Text12[0], "20Hz"},
        {"ctSlide12(1)", p.ctSlide12[1], 0, 255, 150, p.Text12[1], "250Hz"},
        {"ctSlide12(2)", p.ctSlide12[2], 0, 80, 30, p.Text12[2], "30"},
        {"ctSlide12(3)", p.ctSlide12[3], 0, 80, 80, p.Text12[3], "80"},
        {"ctSlide13", p.ctSlide13, 0, 80, 32, p.Text13, "32"},
        {"ctSlide14", p.ctSlide14, 0, 80, 80, p.Text14, "80"},
        {"ctSlide15", p.ctSlide15, 0, 80, 32, p.Text15, "32"},
        {"ctSlide16", p.ctSlide16, 0, 80, 80, p.Text16, "80"},
        {"ctSlide17", p.ctSlide17, 0, 80, 32, p.Text17, "32"},
        {"ctSlide18", p.ctSlide18, 0, 80, 80, p.Text18, "80"},
    };
    const std::array<std::tuple<int, int, const char*>, 8> echo{{{15, 6, "6"},
                                                                 {15, 14, "184ms"},
                                                                 {80, 40, "40"},
                                                                 {80, 68, "68"},
                                                                 {100, 90, "90%"},
                                                                 {127, 63, "63"},
                                                                 {100, 75, "75"},
                                                                 {127, 63, "189ms"}}};
    for (std::size_t i = 0; i < echo.size(); ++i)
        rows.push_back({"ctSlide6", p.ctSlide6[i], 0, std::get<0>(echo[i]), std::get<1>(echo[i]),
                        p.Text7[i], std::get<2>(echo[i])});
    const std::array<std::tuple<int, int, const char*>, 10> reverb{{{15, 15, "15"},
                                                                    {15, 14, "184ms"},
                                                                    {80, 40, "40"},
                                                                    {80, 68, "68"},
                                                                    {60, 50, "5.0s"},
                                                                    {60, 45, "4.5s"},
                                                                    {60, 45, "4.5s"},
                                                                    {40, 20, "20ms"},
                                                                    {100, 88, "88%"},
                                                                    {100, 90, "90%"}}};
    for (std::size_t i = 0; i < reverb.size(); ++i)
        rows.push_back({"ctSlide7", p.ctSlide7[i], 0, std::get<0>(reverb[i]),
                        std::get<1>(reverb[i]), p.Text8[i], std::get<2>(reverb[i])});
    for (std::size_t i = 0; i < 3; ++i)
        rows.push_back({"ctSlide1", p.ctSlide1[i], 0, 80, 32, p.Text1[i], "32"});

    for (const SliderRow& r : rows) {
        ASSERT_NE(r.slider, nullptr) << r.name;
        ASSERT_NE(r.readout, nullptr) << r.name;
        EXPECT_EQ(r.slider->Min(), r.minimum) << r.name;
        EXPECT_EQ(r.slider->Max(), r.maximum) << r.name;
        EXPECT_EQ(r.slider->Value(), r.value) << r.name;
        EXPECT_EQ(r.readout->Text(), QString::fromUtf8(r.text)) << r.name;
        // The program writes read-outs; only the volume boxes take typing.
        const bool volumeBox =
            std::find(p.Text1.begin(), p.Text1.end(), r.readout) != p.Text1.end();
        EXPECT_EQ(r.readout->isReadOnly(), !volumeBox) << r.name;
    }
    EXPECT_EQ(p.ctSlide1[0]->slider()->orientation(), Qt::Vertical);
}

// Catches a wrong caption, a wrong design colour or a wrongly selected selector.
TEST_F(PageDesign, ButtonsCaptionsAndColoursAtDesign) {
    PageSet& p = pages;
    const std::vector<std::tuple<const char*, dcButton*, const char*, std::uint32_t>> rows{
        {"dcButton15", p.dcButton15, "关", kColorOff},
        {"dcButton3(0)", p.dcButton3[0], "AUTO", kColorPortClicked},
        {"dcButton3(1)", p.dcButton3[1], "BGM", kColorOff},
        {"dcButton3(2)", p.dcButton3[2], "AUX", kColorOff},
        {"dcButton19(0)", p.dcButton19[0], "OFF", kColorSelected},
        {"dcButton19(1)", p.dcButton19[1], "1", kColorOff},
        {"dcButton19(2)", p.dcButton19[2], "2", kColorOff},
        {"dcButton19(3)", p.dcButton19[3], "3", kColorOff},
        {"dcButton27", p.dcButton27, "开", kColorOff},
        {"dcButton12", p.dcButton12, "180", kColorOff},
        {"dcButton32", p.dcButton32, "Lock", kColorOff},
        {"dcButton31", p.dcButton31, "Mute", kColorOff},
        {"dcButton13", p.dcButton13, "上传数据到电脑", kColorOff},
        {"dcButton14", p.dcButton14, "导出数据到设备", kColorOff},
        {"dcButton4", p.dcButton4, "保存", kColorOff},
    };
    for (const auto& [name, button, caption, colour] : rows) {
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(button->Caption(), QString::fromUtf8(caption)) << name;
        EXPECT_EQ(button->BackColor(), colour) << name;
    }
}

// Catches wrong lists, a wrong first item, or a wrong design choice in a selector.
TEST_F(PageDesign, SelectorsAtDesign) {
    PageSet& p = pages;
    const std::vector<std::tuple<ComboBox*, QStringList, const char*>> combos{
        {p.Combo1, {"MUSIC1", "MUSIC2", "MUSIC3", "MUSIC4", "MUSIC5", "MUSIC6"}, "MUSIC1"},
        {p.Combo2, {"Mic1", "Mic2", "Mic3", "Mic4", "Mic5", "Mic6"}, "Mic1"},
        {p.Combo3, {"KTV1", "KTV2", "KTV3", "KTV4", "EFF1", "EFF2", "EFF3", "EFF4"}, "KTV1"},
        {p.Combo4, {"Mic1", "Mic2", "Mic3", "Mic4", "Mic5", "Mic6"}, "Mic1"},
    };
    for (const auto& [combo, items, text] : combos) {
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        EXPECT_EQ(shown, items);
        EXPECT_EQ(combo->Text(), QString::fromLatin1(text));
        EXPECT_EQ(combo->ListIndex(), 0);
    }
    const std::vector<std::tuple<OptionGroup*, QStringList, int>> options{
        {p.Option1, {"b5", "b4", "b3", "b2", "b1", "原调", "#1", "#2", "#3", "#4", "#5"}, 5},
        {p.Option2, {"Music1", "Music2", "Music3", "Music4", "Music5", "Music6"}, 0},
        {p.Option3, {"MIC1", "MIC2", "MIC3", "MIC4", "MIC5", "MIC6"}, 0},
        {p.Option4, {"KTV1", "KTV2", "KTV3", "KTV4", "EFF1", "EFF2", "EFF3", "EFF4"}, 0},
        {p.Option5, {"自动保存", "手动保存"}, 0},
    };
    for (const auto& [group, captions, chosen] : options) {
        QStringList shown;
        for (int i = 0; i < group->count(); ++i)
            shown << group->button(i)->text();
        EXPECT_EQ(shown, captions);
        EXPECT_EQ(group->selectedIndex(), chosen) << captions.front().toStdString();
    }
}

// Catches a hole or a stray control: what is shown on each page at start, the hidden
// feedback row and save button, the effect page as program 0 has it, Frame1's captions, and
// the state fields at 0.
TEST_F(PageDesign, VisibilityAndStateAtStart) {
    PageSet& p = pages;
    for (std::size_t i = 0; i < p.Picture1.size(); ++i)
        EXPECT_EQ(p.Picture1[i]->isHidden(), i != 0) << i;
    EXPECT_FALSE(p.Frame1->isHidden());
    EXPECT_EQ(p.Frame1->title(), QStringLiteral("音量控制"));
    EXPECT_EQ(p.Label3[0]->text(), QStringLiteral("音乐"));
    EXPECT_EQ(p.Label3[1]->text(), QStringLiteral("话筒"));
    EXPECT_EQ(p.Label3[2]->text(), QStringLiteral("效果"));
    EXPECT_EQ(p.Label3[4]->text(), QStringLiteral("话筒反馈"));
    EXPECT_EQ(p.Label3[3], nullptr);

    QWidget* effect = p.Picture1[2];
    EXPECT_TRUE(p.Picture8->isVisibleTo(effect));
    EXPECT_FALSE(p.Picture9->isVisibleTo(effect));
    // As effect program 0 (the field's start value) has it: the reverb cut filters unused.
    EXPECT_FALSE(p.Picture7[0]->isEnabledTo(effect));
    EXPECT_TRUE(p.Picture7[1]->isEnabledTo(effect));
    EXPECT_FALSE(p.Label3[4]->isVisibleTo(p.Picture1[1]));
    for (dcButton* b : p.dcButton19)
        EXPECT_FALSE(b->isVisibleTo(p.Picture1[1]));
    EXPECT_FALSE(p.dcButton4->isVisibleTo(p.Picture1[6]));
    EXPECT_TRUE(p.Picture3->isVisibleTo(p.Picture1[6]));

    const PageState& s = p.state;
    for (std::int16_t field : {s.ExciterOn, s.CenterEffectOn, s.EffectProgram, s.EqModeParametric,
                               s.SubPhase, s.MuteOn, s.KeyLockOn})
        EXPECT_EQ(field, 0);
}

// Catches an equaliser on the wrong page, with the wrong band count or buttons, or two pages
// sharing one graph.
TEST_F(PageDesign, EqualiserFurnitureFollowsTheSectionTable) {
    PageSet& p = pages;
    const std::array<std::tuple<EQline*, dcButton*, dcButton*>, 7> named{{
        {p.EQline1, p.dcButton16, p.dcButton17},
        {p.EQline2, p.dcButton18, p.dcButton20},
        {p.EQline3, p.dcButton21, p.dcButton22},
        {p.EQline4, p.dcButton23, p.dcButton24},
        {p.EQline5, p.dcButton25, p.dcButton26},
        {p.EQline6, p.dcButton28, p.dcButton29},
        {p.EQline7, p.dcButton1, p.dcButton2},
    }};
    const std::array<std::vector<LkSlide*>, 7> strips{{
        {p.LkSlide1.begin(), p.LkSlide1.end()},
        {p.LkSlide2.begin(), p.LkSlide2.end()},
        {p.LkSlide3.begin(), p.LkSlide3.end()},
        {p.LkSlide4.begin(), p.LkSlide4.end()},
        {p.LkSlide5.begin(), p.LkSlide5.end()},
        {p.LkSlide6.begin(), p.LkSlide6.end()},
        {p.LkSlide7.begin(), p.LkSlide7.end()},
    }};
    std::set<EQline*> graphs;
    for (const EqSection& s : kEqSections) {
        const auto& [graph, reset, bypass] = named[std::size_t(s.number - 1)];
        QWidget* page = p.Picture1[std::size_t(s.page)];
        EXPECT_EQ(graph, p.eq(s.number).graph);
        EXPECT_EQ(graph->parentWidget(), page) << s.number;
        graphs.insert(graph);
        EXPECT_EQ(reset->Caption(), QStringLiteral("EQ复位")) << s.number;
        EXPECT_EQ(bypass->Caption(), QStringLiteral("EQ-BYPASS")) << s.number;
        EXPECT_EQ(reset->parentWidget(), page);
        const auto& row = strips[std::size_t(s.number - 1)];
        ASSERT_EQ(int(row.size()), s.bands) << s.number;
        for (std::size_t b = 0; b < row.size(); ++b) {
            EXPECT_EQ(row[b]->parentWidget(), page);
            EXPECT_EQ(row[b]->bandNumber(), int(b) + 1);
            if (b > 0) { // left to right, band 0 first
                EXPECT_GT(row[b]->x(), row[b - 1]->x());
            }
        }
    }
    EXPECT_EQ(graphs.size(), 7u);
    EXPECT_EQ(p.Picture1[6]->findChildren<EQline*>().size(), 0);
}

// Catches a caption missing, misspelt or with the wrong colon (the full-width "：" of most
// captions against the ASCII one of "EXCITER:"), or a stray label left on a page.
TEST_F(PageDesign, CaptionsOfEveryPage) {
    PageSet& p = pages;
    const QStringList eq{"增益", "频率", "Q值"};
    const auto micRows = [&](const char* mic) {
        const QString m = QString::fromUtf8(mic);
        return QStringList{m + "模式", m + "低切", m + "高频增益"} + eq;
    };
    const std::array<QStringList, 8> expected{{
        QStringList{"音乐模式", "EXCITER:", "音乐输入端口", "Music Out Limit", "音乐变调"} + eq,
        micRows("话筒A") + QStringList{"话筒反馈"},
        QStringList{"效果模式",       "混响低切：",    "混响高切：", "回声低切：", "回声高切：",
                    "回声A次数",      "回声A延时",     "回声A音量",  "回声B音量",  "回声B高切",
                    "左右交替时间差", "回声B次数比例", "回声B延时",  "回声次数",   "回声延时",
                    "回声音量",       "混响音量",      "混响1时间",  "混响2时间",  "混响3时间",
                    "混响延时",       "混响高切1",     "混响高切2"} +
            eq,
        QStringList{"音乐低切："} + eq,
        QStringList{"效果进中置开关", "中置音乐音量", "中置话筒音量"} + eq,
        QStringList{"超低低切：", "超低高切：", "话筒打开时低音音量", "话筒关闭时低音音量",
                    "超低极性"} +
            eq,
        QStringList{"是否锁定键盘", "是否静音", "数据保存/调用", "当前数据保存方式：", "音乐模式",
                    "话筒模式", "效果模式", "音乐开机音量：", "音乐最大音量：", "话筒开机音量：",
                    "话筒最大音量：", "效果开机音量：", "效果最大音量："},
        micRows("话筒B"),
    }};
    // The captions of a page, without the labels inside its strips and graph.
    const auto captionsOf = [](QWidget* root) {
        QStringList texts;
        for (QLabel* l : root->findChildren<QLabel*>()) {
            bool inner = false;
            for (QWidget* w = l->parentWidget(); w && w != root; w = w->parentWidget())
                inner = inner || qobject_cast<LkSlide*>(w) || qobject_cast<EQline*>(w);
            if (!inner)
                texts << l->text();
        }
        texts.sort();
        return texts;
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QStringList want = expected[i];
        want.sort();
        EXPECT_EQ(captionsOf(p.Picture1[i]), want) << "page " << i;
    }
    EXPECT_EQ(captionsOf(p.Frame1), (QStringList{"效果", "话筒", "音乐"}));
    EXPECT_EQ(p.Shape1[0]->title(), QString());
    EXPECT_EQ(p.Shape1[1]->title(), QStringLiteral("开机模式管理"));
    EXPECT_EQ(p.Shape1[2]->title(), QStringLiteral("音量限制"));
}
