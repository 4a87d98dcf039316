// The system page's two file buttons, clicked on the window as a user clicks them.

#include "app/form_helpers.h"
#include "controls/dc_button.h"
#include "core/messages.h"
#include "pages/page_set.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using korvanex::testing::FormHarness;
namespace msg = korvanex::msg;

// Faults: either button not connected to its handler, the handlers handed another prompter or
// dialog than the window's, a load that does not queue the whole set on the window's link.
TEST(ParameterFileButtons, SaveAndLoadThroughTheWindow) {
    FormHarness h;
    korvanex::PageSet& pages = h.form->pageSet();
    h.form->Image1_Click(5);

    QTest::mouseClick(pages.dcButton13, Qt::LeftButton);
    QTest::mouseClick(pages.dcButton14, Qt::LeftButton);
    ASSERT_EQ(h.prompter.boxes.size(), 2u);
    for (const auto& box : h.prompter.boxes) {
        EXPECT_EQ(box.text, msg::text(msg::kOnlineOnly));
    }
    EXPECT_TRUE(h.dialog.shown.empty()) << "no dialog while the link is down";

    h.connect();
    ASSERT_TRUE(h.form->engine().LinkUp());
    h.prompter.boxes.clear();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("set.ktv"));
    h.dialog.answers = {path, path};
    QTest::mouseClick(pages.dcButton13, Qt::LeftButton);
    ASSERT_EQ(h.prompter.boxes.size(), 1u);
    EXPECT_EQ(h.prompter.boxes[0].text, msg::text(msg::kSavedToPc));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().startsWith("Selvard\r\n"));

    h.line->writes.clear();
    QTest::mouseClick(pages.dcButton14, Qt::LeftButton);
    ASSERT_EQ(h.dialog.shown.size(), 2u);
    EXPECT_EQ(h.dialog.shown[1].title, msg::text(msg::kOpenDialogTitle));
    EXPECT_EQ(h.form->engine().PendingStep, 53);
    h.run(60);
    ASSERT_FALSE(h.line->writes.empty());
    EXPECT_EQ(h.line->writes.front().size(), 220);
}
