#include "controls/qt_prompter.h"

#include "controls/window_font.h"

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

std::unique_ptr<QMessageBox> QtPrompter::build(const QString& text, const QString& title,
                                               BoxIcon icon, bool question) const {
    auto box =
        std::make_unique<QMessageBox>(toQt(icon), title, text,
                                      question ? QMessageBox::Ok | QMessageBox::Cancel
                                               : QMessageBox::StandardButtons(QMessageBox::Ok),
                                      parent_);
    if (question) {
        box->setDefaultButton(QMessageBox::Ok);
    }
    // A box is a window of its own: it does not take the main window's font.
    useChineseFamilies(*box);
    return box;
}

void QtPrompter::show(const QString& text, const QString& title, BoxIcon icon) {
    build(text, title, icon, false)->exec();
}

bool QtPrompter::askOkCancel(const QString& text, const QString& title) {
    return build(text, title, BoxIcon::Question, true)->exec() == QMessageBox::Ok;
}

} // namespace korvanex
