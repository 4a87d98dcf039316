// The main window and its page tabs as screen readers and UI automation see them, and the tab
// strip from the keyboard.

#include "app/form_helpers.h"
#include "app/tab_strip.h"
#include "controls/dc_button.h"
#include "pages/page_set.h"

#include <QAccessible>
#include <QFontInfo>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

using korvanex::Form1;
using korvanex::testing::FormHarness;

namespace {

QAccessibleInterface* accessible(QObject* o) {
    return QAccessible::queryAccessibleInterface(o);
}

} // namespace

// Catches the main window announced as an anonymous filler or without its title.
TEST(WindowAccess, MainWindowIsAWindowTitledKorvanex) {
    FormHarness h;
    QAccessibleInterface* window = accessible(h.form.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Korvanex"));
}

// Catches tabs that are not page tabs, a press action that does not switch the page (or
// switches another), and "selected" missing on the current tab or left on the previous one.
TEST(WindowAccess, TabsArePageTabsPressedToSwitchWithTheCurrentOneSelected) {
    FormHarness h;
    Form1& form = *h.form;
    const QStringList names{"音乐", "麦克风A", "效果", "主输出",
                            "中置", "超低音",  "系统", "麦克风B"};
    for (int i = 0; i < Form1::kPageCount; ++i) {
        QAccessibleInterface* tab = accessible(form.Image1(i));
        EXPECT_EQ(tab->role(), QAccessible::PageTab) << i;
        EXPECT_EQ(tab->text(QAccessible::Name), names[i]) << i;
        EXPECT_TRUE(tab->state().selectable) << i;
    }
    for (int pressed : {3, 6, 0, 7, 7, 1}) {
        QAccessibleActionInterface* actions = accessible(form.Image1(pressed))->actionInterface();
        ASSERT_NE(actions, nullptr);
        ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        actions->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(form.currentPage(), pressed);
        EXPECT_FALSE(form.pageSet().Picture1[std::size_t(pressed)]->isHidden());
        for (int i = 0; i < Form1::kPageCount; ++i)
            EXPECT_EQ(accessible(form.Image1(i))->state().selected, i == pressed)
                << "tab " << i << " after pressing " << pressed;
    }
    // The widget's own actions stay: focusing a tab only moves the focus.
    accessible(form.Image1(4))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_EQ(form.focusWidget(), form.Image1(4));
    EXPECT_EQ(form.currentPage(), 1);
}

// Catches arrow keys that do nothing on a focused tab, move the wrong way, run past either
// end, or leave the focus behind; and a strip of eight Tab stops instead of one (the chosen
// tab), which a keyboard user would have to walk through to reach the page.
TEST(WindowAccess, ArrowsMoveAlongTheTabsAndTabLeavesTheStrip) {
    FormHarness h;
    Form1& form = *h.form;
    form.show();
    form.Image1(0)->setFocus();
    struct Step {
        Qt::Key key;
        int page;
    };
    const std::vector<Step> steps{{Qt::Key_Left, 0},  {Qt::Key_Right, 1}, {Qt::Key_Left, 0},
                                  {Qt::Key_Right, 1}, {Qt::Key_Right, 2}, {Qt::Key_Right, 3},
                                  {Qt::Key_Right, 4}, {Qt::Key_Right, 5}, {Qt::Key_Right, 6},
                                  {Qt::Key_Right, 7}, {Qt::Key_Right, 7}, {Qt::Key_Left, 6}};
    for (std::size_t i = 0; i < steps.size(); ++i) {
        QTest::keyClick(form.focusWidget(), steps[i].key);
        EXPECT_EQ(form.currentPage(), steps[i].page) << "step " << i;
        EXPECT_EQ(form.focusWidget(), form.Image1(steps[i].page)) << "step " << i;
    }
    // Tab goes from the chosen tab straight to the connect bar, and back.
    QTest::keyClick(form.focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(form.focusWidget(), form.mnulianji());
    QTest::keyClick(form.focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(form.focusWidget(), form.Image1(6));
    // A tab chosen with the mouse becomes the strip's one stop.
    QTest::mouseClick(form.Image1(2), Qt::LeftButton, {}, QPoint(2, 14));
    form.mnulianji()->setFocus();
    QTest::keyClick(form.focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(form.focusWidget(), form.Image1(2));
}

// Catches tool tips (the strips' Chinese hints) left in the desktop's face, whose Chinese then
// falls back to Japanese glyph forms; they keep the desktop's size.
TEST(WindowLook, ToolTipsTakeTheSimplifiedChineseFaces) {
    const QFont saved = QToolTip::font();
    QFont desktop(QStringLiteral("DejaVu Sans"));
    desktop.setPointSize(13);
    QToolTip::setFont(desktop);
    {
        FormHarness h;
        EXPECT_EQ(QFontInfo(QToolTip::font()).family(), QStringLiteral("Noto Sans CJK SC"));
        EXPECT_EQ(QToolTip::font().pointSize(), 13);
    }
    QToolTip::setFont(saved);
}
