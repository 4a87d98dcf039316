// What screen readers hear from the controls, and the faces every window of the program draws
// its Chinese text with.

#include "controls/colors.h"
#include "controls/dc_button.h"
#include "controls/qt_file_dialog.h"
#include "controls/qt_prompter.h"
#include "controls/window_font.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QFontInfo>
#include <QGlyphRun>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTextLayout>
#include <gtest/gtest.h>

using namespace korvanex;

namespace {

const QString kSimplifiedFace = QStringLiteral("Noto Sans CJK SC");

// The faces that actually draw `text` in `font` (fallbacks included), one per glyph run.
QStringList facesDrawing(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun& run : layout.glyphRuns())
        faces.append(run.rawFont().familyName());
    return faces;
}

QAccessible::State accessibleState(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->state();
}

// The desktop's font for the length of a test: a larger size than the window's own, in the
// system's default face, as a Linux desktop sets it.
class DesktopFont : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = QApplication::font();
        QFont desktop(QStringLiteral("DejaVu Sans"));
        desktop.setPointSize(14);
        QApplication::setFont(desktop);
    }
    void TearDown() override { QApplication::setFont(saved_); }

private:
    QFont saved_;
};

} // namespace

// Catches: a state colour that a screen reader cannot hear (no checked state), the checked state
// taken from the wrong colour or left behind when the colour changes, a click that flips the
// state by itself instead of leaving it to the page's handler, a bypass's state undone by a
// colour change, and a plain button that turns into a check box or loses its press action.
TEST(DcButtonAccess, CheckedFollowsTheStateColourOnly) {
    struct Case {
        const char* what;
        std::vector<std::uint32_t> onColours;
        std::uint32_t colour;
        bool checked;
    };
    const std::vector<Case> cases{
        {"mute on", {kColorOn}, kColorOn, true},
        {"mute off", {kColorOn}, kColorOff, false},
        {"mute, a selection colour", {kColorOn}, kColorSelected, false},
        {"port chosen by a click", {kColorPortClicked, kColorSelected}, kColorPortClicked, true},
        {"port chosen by the unit", {kColorPortClicked, kColorSelected}, kColorSelected, true},
        {"port not chosen", {kColorPortClicked, kColorSelected}, kColorOff, false},
        {"feedback row, blue", {kColorSelected}, kColorOn, false},
    };
    for (const Case& c : cases) {
        dcButton b(QStringLiteral("Mute"));
        b.setOnColours(c.onColours);
        b.setBackColor(c.colour);
        EXPECT_TRUE(accessibleState(&b).checkable) << c.what;
        EXPECT_EQ(accessibleState(&b).checked, c.checked) << c.what;
        // Back to off, then on again: the state follows every change.
        b.setBackColor(kColorOff);
        EXPECT_FALSE(accessibleState(&b).checked) << c.what;
        b.setBackColor(c.colour);
        EXPECT_EQ(accessibleState(&b).checked, c.checked) << c.what;

        int clicks = 0;
        QObject::connect(&b, &dcButton::Click, [&] { ++clicks; });
        QTest::mouseClick(&b, Qt::LeftButton);
        EXPECT_EQ(clicks, 1) << c.what;
        EXPECT_EQ(accessibleState(&b).checked, c.checked) << c.what << " after a click";
    }
    // The colour set before the button learns its on colours counts at once.
    dcButton lit(QStringLiteral("Lock"));
    lit.setBackColor(kColorOn);
    lit.setOnColours({kColorOn});
    EXPECT_TRUE(accessibleState(&lit).checked);

    // A state shown elsewhere (a bypass) is the checked state, whatever the colour does.
    dcButton bypass(QStringLiteral("EQ-BYPASS"));
    for (bool on : {true, false}) {
        bypass.setShownState(on);
        bypass.setBackColor(kColorOn);
        bypass.setBackColor(kColorOff);
        EXPECT_TRUE(accessibleState(&bypass).checkable);
        EXPECT_EQ(accessibleState(&bypass).checked, on);
    }

    dcButton plain(QStringLiteral("EQ复位"));
    plain.setBackColor(kColorOn);
    EXPECT_FALSE(accessibleState(&plain).checkable);
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&plain);
    EXPECT_EQ(face->role(), QAccessible::Button);
    // Its press action clicks it from the event loop, as Qt's own does; disabled, it has none.
    QAccessibleActionInterface* actions = face->actionInterface();
    EXPECT_EQ(actions->actionNames(), QStringList({QAccessibleActionInterface::pressAction(),
                                                   QAccessibleActionInterface::setFocusAction()}));
    QSignalSpy clicks(&plain, &dcButton::Click);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(face->state().pressed);
    EXPECT_TRUE(clicks.wait(1000));
    EXPECT_FALSE(face->state().pressed);
    plain.setEnabled(false);
    EXPECT_FALSE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
}

// Catches: a message box or file dialog drawn in the desktop's default face, whose Chinese
// text then falls back to Japanese glyph forms, and a box that ignores the desktop's size.
TEST_F(DesktopFont, BoxesAndDialogsDrawSimplifiedChineseAtTheDesktopSize) {
    QtPrompter prompter;
    QtFileDialog dialogs;
    const QString text = QStringLiteral("设备未响应!请检查设备状态");
    struct Window {
        const char* what;
        std::unique_ptr<QWidget> widget;
    };
    std::vector<Window> windows;
    windows.push_back(
        {"box", prompter.build(text, QStringLiteral("系统提示"), BoxIcon::Critical, false)});
    windows.push_back(
        {"question", prompter.build(QStringLiteral("你确定要退出系统吗?"),
                                    QStringLiteral("系统提示"), BoxIcon::Question, true)});
    windows.push_back({"save dialog", dialogs.build(true, QStringLiteral("保存"),
                                                    QStringLiteral("KTV文件(*.ktv)|*.ktv"))});
    windows.push_back({"open dialog", dialogs.build(false, QStringLiteral("打开"),
                                                    QStringLiteral("KTV文件(*.ktv)|*.ktv"))});
    for (const Window& w : windows) {
        EXPECT_EQ(QFontInfo(w.widget->font()).family(), kSimplifiedFace) << w.what;
        EXPECT_EQ(facesDrawing(text, w.widget->font()), QStringList(kSimplifiedFace)) << w.what;
        // The labels inside take the window's faces.
        for (QLabel* label : w.widget->findChildren<QLabel*>())
            EXPECT_EQ(QFontInfo(label->font()).family(), kSimplifiedFace) << w.what;
        EXPECT_EQ(w.widget->font().pointSize(), 14) << w.what;
    }
}

// Catches: the pages' font in points (it would grow with the desktop's size and clip the
// fixed layout) or without the Simplified Chinese faces.
TEST_F(DesktopFont, WindowFontIsTwelvePixelsSimplifiedChinese) {
    const QFont f = windowFont();
    EXPECT_EQ(f.pixelSize(), 12);
    EXPECT_EQ(QFontInfo(f).pixelSize(), 12);
    EXPECT_EQ(facesDrawing(QStringLiteral("音乐输入端口"), f), QStringList(kSimplifiedFace));
}
