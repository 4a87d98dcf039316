// The main window and its page tabs as screen readers and UI automation see them, and the tab
// strip from the keyboard.

#include "app/form_helpers.h"
#include "app/qt_translations.h"
#include "app/tab_strip.h"
#include "controls/dc_button.h"
#include "controls/qt_file_dialog.h"
#include "controls/qt_prompter.h"
#include "eqcurve/eq_line.h"
#include "pages/eq_panel.h"
#include "pages/page_set.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QTranslator>
#include <gtest/gtest.h>

using korvanex::dcButton;
using korvanex::Form1;
using korvanex::PageSet;
using korvanex::testing::FormHarness;

namespace {

QAccessibleInterface* accessible(QObject* o) {
    return QAccessible::queryAccessibleInterface(o);
}

// The buttons whose colour (or, for a bypass, its graph's words) is their state.
struct StateButton {
    const char* what;
    dcButton* (*button)(PageSet&);
    int equaliser = 0; // a bypass's graph
};

const std::vector<StateButton>& stateButtons() {
    static const std::vector<StateButton> buttons{
        {"AUTO", [](PageSet& p) { return p.dcButton3[0]; }},
        {"BGM", [](PageSet& p) { return p.dcButton3[1]; }},
        {"AUX", [](PageSet& p) { return p.dcButton3[2]; }},
        {"feedback OFF", [](PageSet& p) { return p.dcButton19[0]; }},
        {"feedback 2", [](PageSet& p) { return p.dcButton19[2]; }},
        {"mute", [](PageSet& p) { return p.dcButton31; }},
        {"lock", [](PageSet& p) { return p.dcButton32; }},
        {"music bypass", [](PageSet& p) { return p.eq(1).bypass; }, 1},
        {"subwoofer bypass", [](PageSet& p) { return p.eq(6).bypass; }, 6},
    };
    return buttons;
}

// What clicks have left behind: each state button's caption, colour and checked state, each
// bypass, the fields, the request stored for the senders, the boxes shown and the line's
// traffic.
std::string aftermath(FormHarness& h) {
    PageSet& p = h.form->pageSet();
    QStringList out;
    for (const StateButton& s : stateButtons()) {
        dcButton* b = s.button(p);
        out << QStringLiteral("%1 %2 %3 checked %4")
                   .arg(QLatin1String(s.what), b->Caption())
                   .arg(b->BackColor(), 6, 16, QLatin1Char('0'))
                   .arg(accessible(b)->state().checked);
        if (s.equaliser != 0)
            out << QStringLiteral("graph bypassed %1").arg(p.eq(s.equaliser).graph->EQ_BYPASS());
    }
    const auto& e = h.form->engine();
    out << QStringLiteral("mute %1 lock %2 step %3 value %4 timers %5 %6")
               .arg(p.state.MuteOn)
               .arg(p.state.KeyLockOn)
               .arg(e.PendingStep)
               .arg(e.StepValue)
               .arg(e.Timer2().Enabled())
               .arg(e.Timer3().Enabled());
    for (const auto& box : h.prompter.boxes)
        out << QStringLiteral("box ") + box.text;
    out << h.line->events;
    return out.join(QLatin1Char('\n')).toStdString();
}

} // namespace

// Catches a screen reader's press on a state button that does not do what a click does: Qt's
// own toggle (the checked state flips, no Click, nothing stored or sent, the colour stays),
// the refusal box of mute and lock skipped with the link down, a click run inside the
// accessibility call instead of from the event loop after it, and a SetFocus that clicks.
// A user's session of presses, with the link down and up, against the same session of mouse
// clicks; the checked state that follows the colour is the mouse's.
TEST(WindowAccess, StateButtonPressDoesWhatAClickDoes) {
    // Presses in order; repeats switch mute, lock and the bypasses back off.
    const std::vector<int> presses{1, 2, 0, 4, 3, 5, 5, 6, 6, 7, 8, 7};
    for (bool linkUp : {false, true}) {
        FormHarness mouse;
        FormHarness screen;
        screen.form->show();
        if (linkUp) {
            mouse.connect();
            screen.connect();
            ASSERT_TRUE(screen.form->engine().LinkUp());
        }
        for (int index : presses) {
            const StateButton& s = stateButtons()[std::size_t(index)];
            const std::string where = std::string(linkUp ? "link up, " : "link down, ") + s.what;
            dcButton* target = s.button(screen.form->pageSet());
            QAccessibleInterface* face = accessible(target);
            ASSERT_EQ(face->role(), QAccessible::CheckBox) << where;
            ASSERT_TRUE(face->state().checkable) << where;
            const QStringList actions = face->actionInterface()->actionNames();
            ASSERT_EQ(actions, QStringList({QAccessibleActionInterface::toggleAction(),
                                            QAccessibleActionInterface::setFocusAction()}))
                << where;

            s.button(mouse.form->pageSet())->click(); // what a mouse release raises
            const std::string before = aftermath(screen);
            QSignalSpy clicks(target, &dcButton::Click);
            face->actionInterface()->doAction(actions.front());
            EXPECT_EQ(aftermath(screen), before) << where << ": clicked inside the call";
            ASSERT_TRUE(clicks.wait(1000)) << where;
            EXPECT_EQ(aftermath(screen), aftermath(mouse)) << where;
            mouse.run(200);
            screen.run(200);
        }
        EXPECT_EQ(aftermath(screen), aftermath(mouse));

        // Focusing only focuses: no click follows, once the event loop has run well past
        // the press's own delay.
        const std::string before = aftermath(screen);
        for (const StateButton& s : stateButtons()) {
            dcButton* b = s.button(screen.form->pageSet());
            for (int page = 0; page < Form1::kPageCount; ++page)
                if (screen.form->pageSet().Picture1[std::size_t(page)]->isAncestorOf(b))
                    screen.form->Image1_Click(page);
            accessible(b)->actionInterface()->doAction(
                QAccessibleActionInterface::setFocusAction());
            if (b->isVisible()) {
                EXPECT_EQ(screen.form->focusWidget(), b) << s.what;
            }
        }
        QTest::qWait(400);
        EXPECT_EQ(aftermath(screen), before);
    }
}

// Catches the bypass state heard nowhere but in the graph's painted words, and a bypass button
// whose look changes with it: checked, and the graph described "EQ BYPASS", while bypassed;
// the button's pixels as before.
TEST(WindowAccess, BypassButtonIsCheckedWhileItsGraphIsBypassed) {
    FormHarness h;
    h.form->show();
    for (int n = 1; n <= 7; ++n) {
        const korvanex::EqPanel& panel = h.form->pageSet().eq(n);
        h.form->Image1_Click(panel.section().page);
        const QImage look = panel.bypass->grab().toImage();
        EXPECT_TRUE(accessible(panel.bypass)->state().checkable) << n;
        EXPECT_FALSE(accessible(panel.bypass)->state().checked) << n;
        for (bool on : {true, false}) {
            panel.bypass->click();
            EXPECT_EQ(accessible(panel.bypass)->state().checked, on) << n;
            EXPECT_EQ(accessible(panel.graph)->text(QAccessible::Description),
                      on ? QStringLiteral("EQ BYPASS") : QString())
                << n;
            EXPECT_TRUE(panel.bypass->grab().toImage() == look) << n << (on ? " on" : " off");
        }
    }
}

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

// Catches Qt's own texts left in English in the Chinese window (the boxes' "OK" and "Cancel",
// the file dialogs' labels) under a Chinese system, and translated where the system is not
// Chinese.
TEST(WindowLook, QtOwnTextsFollowTheSystemLanguage) {
    struct Case {
        const char* locale;
        const char* ok;
        const char* cancel;
        const char* lookIn;
        const char* fileName;
    };
    const std::vector<Case> cases{
        {"zh_CN", "确定", "取消", "查找范围：", "文件名称(&N)："},
        {"C", "OK", "Cancel", "Look in:", "File &name:"},
        {"en_US", "OK", "Cancel", "Look in:", "File &name:"},
    };
    for (const Case& c : cases) {
        QTranslator* installed = korvanex::installQtTranslations(*qApp, QLocale(c.locale));
        const auto box = korvanex::QtPrompter().build(QStringLiteral("你确定要退出系统吗?"),
                                                      QStringLiteral("系统提示"),
                                                      korvanex::BoxIcon::Question, true);
        EXPECT_EQ(box->button(QMessageBox::Ok)->text().toStdString(), c.ok) << c.locale;
        EXPECT_EQ(box->button(QMessageBox::Cancel)->text().toStdString(), c.cancel) << c.locale;
        const auto dialog = korvanex::QtFileDialog().build(false, QStringLiteral("打开"),
                                                           QStringLiteral("KTV文件(*.ktv)|*.ktv"));
        const QLabel* lookIn = dialog->findChild<QLabel*>(QStringLiteral("lookInLabel"));
        const QLabel* fileName = dialog->findChild<QLabel*>(QStringLiteral("fileNameLabel"));
        ASSERT_TRUE(lookIn != nullptr && fileName != nullptr);
        EXPECT_EQ(lookIn->text().toStdString(), c.lookIn) << c.locale;
        EXPECT_EQ(fileName->text().toStdString(), c.fileName) << c.locale;
        delete installed;
    }
}
