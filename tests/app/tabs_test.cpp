// The tab strip: which page is shown, which tab looks selected, and the volume box.

#include "app/form_helpers.h"
#include "app/tab_strip.h"
#include "pages/page_set.h"
#include "pages/volume_frame.h"

#include <QTest>
#include <gtest/gtest.h>

using korvanex::Form1;
using korvanex::testing::FormHarness;

namespace {

// Exactly one page shown and exactly its tab selected; the volume box follows the page.
void expectShown(Form1& form, int page) {
    auto& pages = form.pageSet();
    for (int i = 0; i < Form1::kPageCount; ++i) {
        EXPECT_EQ(!pages.Picture1[std::size_t(i)]->isHidden(), i == page) << "page " << i;
        EXPECT_EQ(form.Image1(i)->selected(), i == page) << "tab " << i;
    }
    EXPECT_EQ(pages.Frame1->isHidden(), page == 6) << "Frame1 on page " << page;
    EXPECT_EQ(form.currentPage(), page);
}

} // namespace

// Fault: a page other than "音乐" (or more than one) shown at start.
TEST(Tabs, StartShowsMusicPageWithItsTabSelected) {
    FormHarness h;
    expectShown(*h.form, 0);
    EXPECT_EQ(h.form->Label1(0)->text(), QStringLiteral("音乐"));
    EXPECT_EQ(h.form->Label1(7)->text(), QStringLiteral("麦克风B"));
}

// Faults: a click on the tab's picture and on its caption behaving differently; the volume box
// hidden on a page other than "系统" or left over the system page; a previous page left shown
// when going back to a lower index.
TEST(Tabs, PictureAndCaptionClicksSwitchAlikeAndFrame1HidesOnlyOnSystemPage) {
    FormHarness h;
    Form1& form = *h.form;
    for (int i : {6, 3, 7, 0, 5, 6, 1, 2, 4}) {
        // Left edge of the tab: outside the caption lying over it.
        QTest::mouseClick(form.Image1(i), Qt::LeftButton, {}, QPoint(2, 14));
        expectShown(form, i);
        QTest::mouseClick(form.Label1((i + 3) % 8), Qt::LeftButton);
        expectShown(form, (i + 3) % 8);
    }
    // The handlers themselves, as the window's other callers use them.
    form.Image1_Click(6);
    expectShown(form, 6);
    form.Label1_Click(7);
    expectShown(form, 7);
}

// Fault: the tabs unreachable from the keyboard.
TEST(Tabs, KeyboardSpaceOnAFocusedTabSwitches) {
    FormHarness h;
    QTest::keyClick(h.form->Image1(2), Qt::Key_Space);
    expectShown(*h.form, 2);
    EXPECT_EQ(h.form->Image1(2)->accessibleName(), QStringLiteral("效果"));
}

// Fault: the focus mark left on the first tab while another tab is chosen with the mouse.
TEST(Tabs, ClickedTabTakesTheFocusMark) {
    FormHarness h;
    Form1& form = *h.form;
    form.show();
    for (int i : {3, 7, 0}) {
        QTest::mouseClick(form.Image1(i), Qt::LeftButton, {}, QPoint(2, 14));
        EXPECT_EQ(form.focusWidget(), form.Image1(i)) << i;
        QTest::mouseClick(form.Label1((i + 1) % 8), Qt::LeftButton);
        EXPECT_EQ(form.focusWidget(), form.Image1((i + 1) % 8)) << i;
    }
}

// Fault: a page switch that talks to the unit or touches the link.
TEST(Tabs, SwitchingPagesSendsNothing) {
    FormHarness h;
    h.connect();
    ASSERT_TRUE(h.form->engine().LinkUp());
    const auto writes = h.line->writes.size();
    const int step = h.form->engine().PendingStep;
    for (int i = 0; i < Form1::kPageCount; ++i) {
        h.form->Image1_Click(i);
    }
    h.run(200);
    EXPECT_EQ(h.line->writes.size(), writes);
    EXPECT_EQ(h.form->engine().PendingStep, step);
}
