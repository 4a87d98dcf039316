#include "pages/page_base.h"

#include "controls/ct_slide.h"
#include "controls/text_box.h"
#include "controls/window_font.h"
#include "pages/twips.h"

#include <QLabel>

namespace korvanex {

PageBase::PageBase(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    // Set here as well as on the window, so that a page looks the same wherever it stands.
    setFont(windowFont());
}

QLabel* PageBase::label(const QString& text, int left, int top, int width, int height,
                        QWidget* parent) {
    auto* l = new QLabel(text, parent ? parent : this);
    const QSize hint = l->sizeHint();
    l->setGeometry(twips(left), twips(top), width > 0 ? twips(width) : hint.width(),
                   height > 0 ? twips(height) : hint.height());
    return l;
}

QLabel* PageBase::labelAt(const QString& text, int x, int y, QWidget* parent) {
    auto* l = new QLabel(text, parent ? parent : this);
    l->setGeometry(QRect(QPoint(x, y), l->sizeHint()));
    return l;
}

ctSlide* PageBase::slider(int minimum, int maximum, int value, const QString& name,
                          QWidget* parent) {
    auto* s = new ctSlide(minimum, maximum, value, Qt::Horizontal, parent ? parent : this);
    s->setAccessibleText(name);
    return s;
}

TextBox* PageBase::readout(const QString& text, const QString& name, QWidget* parent) {
    auto* t = new TextBox(text, parent ? parent : this);
    t->setReadOnly(true);
    t->setAccessibleName(name);
    t->setAlignment(Qt::AlignCenter);
    return t;
}

} // namespace korvanex
