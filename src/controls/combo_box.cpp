#include "controls/combo_box.h"

#include <QSignalBlocker>

namespace korvanex {

ComboBox::ComboBox(const QStringList& items, QWidget* parent) : QComboBox(parent) {
    addItems(items);
    setCurrentIndex(items.isEmpty() ? -1 : 0);
    // `activated` is the user's choice only; currentIndexChanged would also follow code.
    connect(this, &QComboBox::activated, this, [this](int) { emit Click(); });
}

void ComboBox::setListIndex(int index) {
    const QSignalBlocker block(this);
    setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

void ComboBox::setText(const QString& text) {
    setListIndex(findText(text, Qt::MatchExactly));
}

} // namespace korvanex
