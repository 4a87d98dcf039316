#include "controls/qt_prompter.h"

#include <QMessageBox>

namespace korvanex {

namespace {
QMessageBox::Icon toQt(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Critical:
        return QMessageBox::Critical;
    case BoxIcon::Question:
        return QMessageBox::Question;
    case BoxIcon::Exclamation:
        return QMessageBox::Warning;
    case BoxIcon::Information:
        break;
    }
    return QMessageBox::Information;
}
} // namespace

void QtPrompter::show(const QString& text, const QString& title, BoxIcon icon) {
    QMessageBox box(toQt(icon), title, text, QMessageBox::Ok, parent_);
    box.exec();
}

bool QtPrompter::askOkCancel(const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent_);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

} // namespace korvanex
