// The control stand-ins: only a user's action raises a change event, values stay in range.

#include "controls/colors.h"
#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"

#include <QAccessible>
#include <QApplication>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

using namespace korvanex;

// Catches a slider that wraps or passes values outside its range on to the request bytes.
TEST(CtSlide, SetValueClampsToRangeAndRaisesNothing) {
    ctSlide s(400, 1800, 400, Qt::Horizontal);
    QSignalSpy spy(&s, &ctSlide::SlideChange);
    const std::array<std::pair<int, int>, 5> cases{
        {{399, 400}, {1801, 1800}, {-5, 400}, {455, 455}, {100000, 1800}}};
    for (auto [given, kept] : cases) {
        s.setValue(given);
        EXPECT_EQ(s.Value(), kept) << given;
    }
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(s.Min(), 400);
    EXPECT_EQ(s.Max(), 1800);
}

// Catches a user's move (keys, track click, drag) that the page would not hear, or heard
// twice.
TEST(CtSlide, UserMovesRaiseSlideChangeWithTheNewValue) {
    ctSlide s(0, 80, 32, Qt::Vertical);
    QSignalSpy spy(&s, &ctSlide::SlideChange);
    s.slider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 33);
    s.slider()->triggerAction(QAbstractSlider::SliderToMaximum);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(1).at(0).toInt(), 80);
    // At the end of the range a further step changes nothing and raises nothing.
    s.slider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(spy.count(), 2);
    s.show();
    QTest::keyClick(s.slider(), Qt::Key_Down);
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(s.Value(), 79);
}

// Catches a button whose state colour is stored swapped (0x00BBGGRR: &HFF0000 is blue) or
// whose caption change is taken for a click.
TEST(DcButton, CaptionAndBackColorAreStateWithoutClicks) {
    dcButton b(QStringLiteral("关"));
    QSignalSpy spy(&b, &dcButton::Click);
    EXPECT_EQ(b.BackColor(), kColorOff);
    EXPECT_TRUE(b.styleSheet().contains(colorFromBgr(kColorOff).name())); // drawn so at once
    b.setCaption(QStringLiteral("开"));
    b.setBackColor(kColorOn);
    EXPECT_EQ(b.Caption(), QStringLiteral("开"));
    // A screen reader hears the caption, or the label beside the button and the caption that
    // shows its state.
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&b);
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("开"));
    b.setLabel(QStringLiteral("EXCITER:"));
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("EXCITER: 开"));
    b.setCaption(QStringLiteral("关"));
    EXPECT_EQ(face->text(QAccessible::Name), QStringLiteral("EXCITER: 关"));
    EXPECT_EQ(b.BackColor(), 0xFF0000u);
    EXPECT_EQ(b.Caption(), QStringLiteral("关"));
    EXPECT_EQ(colorFromBgr(kColorOn), QColor(0, 0, 255));
    EXPECT_EQ(colorFromBgr(kColorPortClicked), QColor(0, 128, 0));
    EXPECT_EQ(colorFromBgr(kColorOff), QColor(0xA0, 0x9E, 0xBA));
    EXPECT_EQ(bgrFromColor(QColor(0xA0, 0x9E, 0xBA)), kColorOff);
    EXPECT_TRUE(b.styleSheet().contains(QStringLiteral("#0000ff")));
    EXPECT_EQ(spy.count(), 0);
    b.show();
    QTest::mouseClick(&b, Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
}

// Catches a combo that recalls a section when the program sets it (a block or file load), or
// that ignores the wheel even when the user has put the focus on it.
TEST(ComboBox, OnlyTheUsersChoiceRaisesClick) {
    ComboBox c({"KTV1", "KTV2", "EFF1"});
    QSignalSpy spy(&c, &ComboBox::Click);
    EXPECT_EQ(c.ListIndex(), 0);
    EXPECT_EQ(c.Text(), QStringLiteral("KTV1"));
    c.setListIndex(2);
    EXPECT_EQ(c.Text(), QStringLiteral("EFF1"));
    c.setText(QStringLiteral("KTV2"));
    EXPECT_EQ(c.ListIndex(), 1);
    // An index outside the list chooses nothing rather than keeping a stale item.
    c.setListIndex(9);
    EXPECT_EQ(c.ListIndex(), -1);
    c.setText(QStringLiteral("EFF9"));
    EXPECT_EQ(c.ListIndex(), -1);
    EXPECT_EQ(spy.count(), 0);
    c.setListIndex(0);
    c.show();
    QTest::keyClick(&c, Qt::Key_Down);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(c.ListIndex(), 1);
    // A wheel over the list picks only once the list has the keyboard focus.
    c.activateWindow();
    c.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&c));
    QWheelEvent wheel({4, 4}, c.mapToGlobal(QPointF(4, 4)), {}, {0, -120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&c, &wheel);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(c.ListIndex(), 2);
}

// Catches an option array that is not exclusive, or raises Click for code sets.
TEST(OptionGroup, ExclusiveValuesAndUserOnlyClick) {
    QWidget parent;
    OptionGroup g({"b1", "原调", "#1"}, &parent);
    QSignalSpy spy(&g, &OptionGroup::Click);
    g.setValue(1, true);
    EXPECT_TRUE(g.Value(1));
    g.setValue(2, true);
    EXPECT_FALSE(g.Value(1));
    EXPECT_TRUE(g.Value(2));
    EXPECT_EQ(g.selectedIndex(), 2);
    g.setValue(2, false);
    EXPECT_EQ(g.selectedIndex(), -1);
    g.setValue(7, true); // outside the array: ignored
    EXPECT_FALSE(g.Value(7));
    EXPECT_EQ(spy.count(), 0);

    parent.show();
    QTest::mouseClick(g.button(0), Qt::LeftButton);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 0);
    EXPECT_TRUE(g.Value(0));
    // Clicking the member already chosen changes nothing and raises nothing.
    QTest::mouseClick(g.button(0), Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
}

// Catches a volume box whose handler never sees Enter, cannot drop a key, or a read-out
// that the user could type into.
TEST(TextBox, KeyPressCarriesTheCodeAndCanDropTheKey) {
    TextBox t(QStringLiteral("32"));
    std::vector<int> codes;
    QObject::connect(&t, &TextBox::KeyPress, [&](int& k) {
        codes.push_back(k);
        if (k == 'x')
            k = 0;
    });
    t.show();
    t.setFocus();
    t.end(false);
    QTest::keyClicks(&t, QStringLiteral("5x"));
    QTest::keyClick(&t, Qt::Key_Return);
    EXPECT_EQ(codes, (std::vector<int>{'5', 'x', 13}));
    EXPECT_EQ(t.Text(), QStringLiteral("325"));

    TextBox readout(QStringLiteral("20Hz"));
    readout.setReadOnly(true);
    int raised = 0;
    QObject::connect(&readout, &TextBox::KeyPress, [&](int&) { ++raised; });
    readout.show();
    QTest::keyClicks(&readout, QStringLiteral("9"));
    EXPECT_EQ(readout.Text(), QStringLiteral("20Hz"));
    EXPECT_EQ(raised, 0);
}
