#include "controls/text_box.h"

#include <QKeyEvent>

namespace korvanex {

TextBox::TextBox(const QString& text, QWidget* parent) : QLineEdit(text, parent) {}

void TextBox::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (typed.size() != 1 || isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const int original = typed.at(0).unicode();
    int code = original;
    emit KeyPress(code);
    if (code == 0) {
        event->accept();
        return;
    }
    if (code == original) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // The handler changed the character: the box receives the new one instead.
    QKeyEvent replaced(event->type(), 0, event->modifiers(), QString(QChar(code)));
    QLineEdit::keyPressEvent(&replaced);
}

} // namespace korvanex
