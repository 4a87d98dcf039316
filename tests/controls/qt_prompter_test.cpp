// The real message boxes: their buttons, icon and default, and the answer a question returns.

#include "controls/qt_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace korvanex;

namespace {

// Presses `button` in the box once it is open, and records what the box showed.
struct BoxAnswer {
    void pressWhenOpen(QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen = box->standardButtons();
            text = box->text();
            title = box->windowTitle();
            box->button(button)->click();
        });
    }
    QMessageBox::StandardButtons seen;
    QString text;
    QString title;
};

} // namespace

// Catches a box with the wrong buttons, icon or default (Enter on the exit question must be OK).
TEST(QtPrompterBoxes, ButtonsIconAndDefault) {
    struct Case {
        BoxIcon icon;
        bool question;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon qtIcon;
    };
    const std::vector<Case> cases{
        {BoxIcon::Information, false, QMessageBox::Ok, QMessageBox::Information},
        {BoxIcon::Critical, false, QMessageBox::Ok, QMessageBox::Critical},
        {BoxIcon::Exclamation, false, QMessageBox::Ok, QMessageBox::Warning},
        {BoxIcon::Question, true, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Question},
    };
    QtPrompter prompter;
    for (const Case& c : cases) {
        const auto box = prompter.build(QStringLiteral("设备连接完成!"), QStringLiteral("系统提示"),
                                        c.icon, c.question);
        EXPECT_EQ(box->standardButtons(), c.buttons) << int(c.icon);
        EXPECT_EQ(box->icon(), c.qtIcon) << int(c.icon);
        EXPECT_EQ(box->text(), QStringLiteral("设备连接完成!"));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("系统提示"));
        if (c.question) {
            EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()),
                      box->button(QMessageBox::Ok));
        }
    }
}

// Catches a question answered the wrong way round, a message shown as a question, and a box
// that never opens.
TEST(QtPrompterBoxes, AnswersFollowTheButtonPressed) {
    QtPrompter prompter;
    for (const auto& [button, answer] :
         {std::pair{QMessageBox::Ok, true}, std::pair{QMessageBox::Cancel, false}}) {
        BoxAnswer a;
        a.pressWhenOpen(button);
        EXPECT_EQ(
            prompter.askOkCancel(QStringLiteral("你确定要退出系统吗?"), QStringLiteral("系统提示")),
            answer);
        EXPECT_EQ(a.seen, QMessageBox::Ok | QMessageBox::Cancel);
    }
    BoxAnswer shown;
    shown.pressWhenOpen(QMessageBox::Ok);
    prompter.show(QStringLiteral("数据保存完成!"), QStringLiteral("Korvanex"),
                  BoxIcon::Information);
    EXPECT_EQ(shown.seen, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(shown.text, QStringLiteral("数据保存完成!"));
    EXPECT_EQ(shown.title, QStringLiteral("Korvanex"));
}
