#include "controls/combo_box.h"

#include <QSignalBlocker>
#include <QWheelEvent>

namespace korvanex {

ComboBox::ComboBox(const QStringList& items, QWidget* parent) : QComboBox(parent) {
    addItems(items);
    setCurrentIndex(items.isEmpty() ? -1 : 0);
    // Qt's default lets a wheel take the focus and so pick an item at once.
    setFocusPolicy(Qt::StrongFocus);
    // `activated` is the user's choice only; currentIndexChanged would also follow code.
    connect(this, &QComboBox::activated, this, [this](int) { emit Click(); });
}

void ComboBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

void ComboBox::setListIndex(int index) {
    const QSignalBlocker block(this);
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

void ComboBox::setText(const QString& text) {
    setListIndex(findText(text, Qt::MatchExactly));
}

} // namespace korvanex
