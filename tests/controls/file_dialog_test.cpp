// The real file dialogs of the parameter files, offscreen: filters, no added suffix, the
// question before a file is replaced, and the last name offered again.

#include "controls/qt_file_dialog.h"
#include "core/messages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace korvanex;

namespace {

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// The names the dialog lists in its folder, once it has read it.
QStringList listedNames(QFileDialog& dialog) {
    auto* view = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
    if (view == nullptr) {
        return {};
    }
    QStringList names;
    const auto read = [&] {
        names.clear();
        const QModelIndex root = view->rootIndex();
        for (int row = 0; row < view->model()->rowCount(root); ++row) {
            names.append(view->model()->index(row, 0, root).data().toString());
        }
        return names.contains(QStringLiteral("x.ktv"));
    };
    static_cast<void>(QTest::qWaitFor(read, 3000));
    return names;
}

// Runs `action` on the modal window once it is open.
void whenModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        action(modal);
    });
}

} // namespace

// Catches: descriptions passed to Qt without their patterns in parentheses, which Qt would
// read as patterns themselves ("Text" and "files").
TEST(QtFileDialog, NameFiltersFromDescriptionPatternPairs) {
    struct Case {
        const char* filter;
        QStringList qt;
    };
    const Case cases[] = {
        {msg::kFileFilter, {QStringLiteral("KTV文件(*.ktv)")}},
        {"Text files|*.txt", {QStringLiteral("Text files (*.txt)")}},
        {"A|*.a;*.b|B (*.b)|*.b", {QStringLiteral("A (*.a *.b)"), QStringLiteral("B (*.b)")}},
        {"Lone", {QStringLiteral("Lone")}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QtFileDialog::nameFilters(QString::fromUtf8(c.filter)), c.qt) << c.filter;
    }
}

// Catches: a filter under which the dialogs would not list the parameter files, or would
// list everything.
TEST(QtFileDialog, BothDialogsListKtvFilesOnly) {
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("x.ktv")));
    touch(dir.filePath(QStringLiteral("notes.txt")));
    QtFileDialog dialogs;
    for (bool save : {true, false}) {
        auto dialog = dialogs.build(save, QStringLiteral("t"), msg::text(msg::kFileFilter));
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->setDirectory(dir.path());
        dialog->show();
        const QStringList names = listedNames(*dialog);
        EXPECT_TRUE(names.contains(QStringLiteral("x.ktv"))) << save;
        EXPECT_FALSE(names.contains(QStringLiteral("notes.txt"))) << save;
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("t"));
        EXPECT_EQ(dialog->acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    }
}

// Catches: a suffix added to a typed name, a replaced file not asked about, and a dialog
// that does not start from the name chosen last.
TEST(QtFileDialog, SaveTakesTheNameAsTypedAndAsksBeforeReplacing) {
    QTemporaryDir dir;
    QtFileDialog dialogs;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(dir.path());
        dialog->selectFile(QStringLiteral("typed"));
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto saved = dialogs.ShowSave(QStringLiteral("保存在电脑"), msg::text(msg::kFileFilter));
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, dir.filePath(QStringLiteral("typed")));
    EXPECT_EQ(dialogs.FileName(), *saved);

    // The next dialog, an open one, starts in that folder with that name, whatever folder
    // another dialog of the program visited since.
    QTemporaryDir elsewhere;
    whenModal([&](QWidget* modal) {
        auto* other = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(other, nullptr);
        other->setDirectory(elsewhere.path());
        other->selectFile(QStringLiteral("y"));
        static_cast<QDialog*>(other)->accept();
    });
    QFileDialog::getSaveFileName(nullptr, QString(), elsewhere.path());
    auto next = dialogs.build(false, QStringLiteral("从电脑中调用"), msg::text(msg::kFileFilter));
    EXPECT_EQ(next->directory().absolutePath(), QDir(dir.path()).absolutePath());
    EXPECT_TRUE(next->selectedFiles().value(0).endsWith(QStringLiteral("/typed")));

    // Choosing an existing file asks first; "No" keeps the dialog open, which is then closed.
    touch(dir.filePath(QStringLiteral("old.ktv")));
    bool asked = false;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        QTimer::singleShot(0, [&asked, dialog] {
            auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            asked = question != nullptr;
            if (question != nullptr) {
                question->button(QMessageBox::No)->click();
            }
            QTimer::singleShot(0, dialog, &QDialog::reject);
        });
        dialog->selectFile(QStringLiteral("old.ktv"));
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_FALSE(dialogs.ShowSave(QStringLiteral("保存在电脑"), msg::text(msg::kFileFilter)));
    EXPECT_TRUE(asked);
    EXPECT_EQ(dialogs.FileName(), dir.filePath(QStringLiteral("typed")));
}

// Catches: an open dialog that accepts a name no file has, or opens in save mode.
TEST(QtFileDialog, OpenTakesOnlyAnExistingFile) {
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("x.ktv")));
    QtFileDialog dialogs;
    bool stayedOpen = false;
    bool warned = false;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
        dialog->setDirectory(dir.path());
        // The missing name is answered with a box, closed here.
        QTimer::singleShot(0, [&warned] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            warned = box != nullptr;
            if (box != nullptr) {
                box->accept();
            }
        });
        dialog->selectFile(QStringLiteral("missing.ktv"));
        static_cast<QDialog*>(dialog)->accept();
        stayedOpen = dialog->isVisible() && dialog->result() != QDialog::Accepted;
        dialog->selectFile(QStringLiteral("x.ktv"));
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto opened =
        dialogs.ShowOpen(QStringLiteral("从电脑中调用"), msg::text(msg::kFileFilter));
    EXPECT_TRUE(warned);
    EXPECT_TRUE(stayedOpen);
    ASSERT_TRUE(opened);
    EXPECT_EQ(*opened, dir.filePath(QStringLiteral("x.ktv")));
}
