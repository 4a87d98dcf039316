// The pages as screen readers and keyboard users meet them: selectors labelled by their
// captions, state colours heard as checked, and the Tab key walking each page in reading order.

#include "controls/colors.h"
#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/text_box.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "pages/page_set.h"
#include "pages/volume_frame.h"

#include <QAccessible>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace korvanex;

namespace {

class PageAccess : public ::testing::Test {
protected:
    QWidget window;
    PageSet pages{&window};
};

QAccessibleInterface* accessible(QObject* o) {
    return QAccessible::queryAccessibleInterface(o);
}

// The control a focus stop belongs to: a slider, combo, strip or graph counts once, however
// many focusable parts it has.
QWidget* controlOf(QWidget* w) {
    QWidget* control = w;
    for (QWidget* p = w; p != nullptr; p = p->parentWidget())
        if (qobject_cast<ctSlide*>(p) || qobject_cast<ComboBox*>(p) || qobject_cast<LkSlide*>(p) ||
            qobject_cast<EQline*>(p))
            control = p;
    return control;
}

// Every control the Tab key reaches, in order, once round the window.
std::vector<QWidget*> tabWalk(QWidget& window) {
    std::vector<QWidget*> controls;
    QTest::keyClick(&window, Qt::Key_Tab);
    QWidget* first = window.focusWidget();
    QWidget* at = first;
    for (int i = 0; i < 1000 && at != nullptr; ++i) {
        QWidget* control = controlOf(at);
        if (controls.empty() || controls.back() != control)
            controls.push_back(control);
        QTest::keyClick(at, Qt::Key_Tab);
        at = window.focusWidget();
        if (at == first)
            break;
    }
    return controls;
}

QRect onPage(QWidget* w, QWidget* page) {
    return QRect(w->mapTo(page, QPoint(0, 0)), w->size());
}

} // namespace

// Catches a combo box announced by its current item only: its caption must be its label.
TEST_F(PageAccess, CombosAreLabelledByTheirCaptions) {
    const std::vector<std::pair<ComboBox*, QString>> combos{{pages.Combo1, "音乐模式"},
                                                            {pages.Combo2, "话筒A模式"},
                                                            {pages.Combo3, "效果模式"},
                                                            {pages.Combo4, "话筒B模式"}};
    for (const auto& [combo, caption] : combos) {
        QStringList labels;
        for (const auto& [label, relation] : accessible(combo)->relations(QAccessible::Label))
            labels.append(label->text(QAccessible::Name));
        EXPECT_EQ(labels, QStringList(caption));
        EXPECT_EQ(combo->accessibleName(), caption);
    }
}

// Catches a state shown only by colour that a screen reader cannot hear: the input port, the
// feedback row, mute and lock report checked exactly while their colour says so, at design and
// after the colours change as a block or a click changes them; buttons whose caption is the
// state stay plain buttons.
TEST_F(PageAccess, StateColoursAreCheckedStates) {
    PageSet& p = pages;
    struct Row {
        const char* what;
        dcButton* button;
        bool atDesign;
        std::uint32_t onColour;
    };
    const std::vector<Row> rows{
        {"AUTO", p.dcButton3[0], true, kColorPortClicked},
        {"BGM", p.dcButton3[1], false, kColorSelected},
        {"AUX", p.dcButton3[2], false, kColorPortClicked},
        {"feedback OFF", p.dcButton19[0], true, kColorSelected},
        {"feedback 3", p.dcButton19[3], false, kColorSelected},
        {"mute", p.dcButton31, false, kColorOn},
        {"lock", p.dcButton32, false, kColorOn},
    };
    for (const Row& r : rows) {
        EXPECT_TRUE(accessible(r.button)->state().checkable) << r.what;
        EXPECT_EQ(accessible(r.button)->state().checked, r.atDesign) << r.what;
        r.button->setBackColor(kColorOff);
        EXPECT_FALSE(accessible(r.button)->state().checked) << r.what;
        r.button->setBackColor(r.onColour);
        EXPECT_TRUE(accessible(r.button)->state().checked) << r.what;
    }
    for (dcButton* b : {p.dcButton15, p.dcButton27, p.dcButton12, p.dcButton16, p.dcButton13})
        EXPECT_FALSE(accessible(b)->state().checkable) << b->text().toStdString();
}

// Catches a Tab order that jumps back up and to the left on a page (a screen reader user would
// hear controls out of reading order), a read-out that is not just before its slider, and a
// control the Tab key never reaches.
TEST_F(PageAccess, TabWalksEachPageInReadingOrderReadoutBeforeSlider) {
    PageSet& p = pages;
    window.resize(1060, 600);
    window.show();
    std::vector<std::pair<TextBox*, ctSlide*>> pairs{
        {p.Text19, p.ctSlide19}, {p.Text5, p.ctSlide11},  {p.Text9, p.ctSlide8},
        {p.Text2, p.ctSlide2},   {p.Text3, p.ctSlide3},   {p.Text4, p.ctSlide4},
        {p.Text6, p.ctSlide5},   {p.Text10, p.ctSlide9},  {p.Text13, p.ctSlide13},
        {p.Text14, p.ctSlide14}, {p.Text15, p.ctSlide15}, {p.Text16, p.ctSlide16},
        {p.Text17, p.ctSlide17}, {p.Text18, p.ctSlide18}, {p.Text21, p.ctSlide20},
        {p.Text20, p.ctSlide21}};
    for (std::size_t i = 0; i < 3; ++i)
        pairs.emplace_back(p.Text1[i], p.ctSlide1[i]);
    for (std::size_t i = 0; i < 8; ++i)
        pairs.emplace_back(p.Text7[i], p.ctSlide6[i]);
    for (std::size_t i = 0; i < 10; ++i)
        pairs.emplace_back(p.Text8[i], p.ctSlide7[i]);
    for (std::size_t i = 0; i < 2; ++i)
        pairs.emplace_back(p.Text11[i], p.ctSlide10[i]);
    for (std::size_t i = 0; i < 4; ++i)
        pairs.emplace_back(p.Text12[i], p.ctSlide12[i]);

    // Page 8: the effect page with the reverb group (and its cut filters) in use.
    for (int shown = 0; shown < 9; ++shown) {
        const std::size_t index = shown == 8 ? 2 : std::size_t(shown);
        p.state.EffectProgram = shown == 8 ? 4 : 0;
        p.showEffectProgram();
        for (std::size_t i = 0; i < p.Picture1.size(); ++i)
            p.Picture1[i]->setVisible(i == index);
        p.Frame1->setVisible(index != 6);
        QWidget* page = p.Picture1[index];
        const std::vector<QWidget*> walk = tabWalk(window);

        std::vector<QWidget*> onThisPage;
        for (QWidget* w : walk)
            if (page->isAncestorOf(w))
                onThisPage.push_back(w);
        for (std::size_t i = 1; i < onThisPage.size(); ++i) {
            const QRect a = onPage(onThisPage[i - 1], page);
            const QRect b = onPage(onThisPage[i], page);
            const QString pair =
                QStringLiteral("page %1: %2 -> %3")
                    .arg(shown)
                    .arg(onThisPage[i - 1]->accessibleName(), onThisPage[i]->accessibleName());
            if (std::abs(b.top() - a.top()) <= 4) {
                EXPECT_GT(b.left(), a.left()) << "backwards along a line, " << pair.toStdString();
            } else if (b.top() < a.top()) {
                EXPECT_GE(b.left(), a.right())
                    << "back up, not to a new column, " << pair.toStdString();
            }
        }
        for (const auto& [box, slider] : pairs) {
            if (!box->isVisibleTo(&window) || !box->isEnabledTo(&window))
                continue;
            const auto at = std::find(walk.begin(), walk.end(), box);
            ASSERT_NE(at, walk.end()) << "page " << shown << ": "
                                      << box->accessibleName().toStdString() << " not reached";
            ASSERT_NE(at + 1, walk.end());
            EXPECT_EQ(*(at + 1), slider)
                << "page " << shown << ": " << box->accessibleName().toStdString();
        }
        for (QWidget* w : page->findChildren<QWidget*>()) {
            if (w->isVisibleTo(&window) && w->isEnabledTo(&window) &&
                (w->focusPolicy() & Qt::TabFocus) != 0) {
                EXPECT_NE(std::find(walk.begin(), walk.end(), controlOf(w)), walk.end())
                    << "page " << shown << ": " << w->metaObject()->className() << " "
                    << w->accessibleName().toStdString() << " never reached";
            }
        }
    }
}
