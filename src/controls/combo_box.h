#pragma once
// A drop-down list of fixed items. `Click` is raised when the user picks an item (even the
// one already shown); setting `ListIndex` or `Text` from code raises nothing.

#include <QComboBox>

namespace korvanex {

class ComboBox : public QComboBox {
    Q_OBJECT
public:
    ComboBox(const QStringList& items, QWidget* parent = nullptr);

    // -1 when nothing is chosen.
    int ListIndex() const { return currentIndex(); }
    // An index outside the list chooses nothing.
    void setListIndex(int index);

    QString Text() const { return currentText(); }
    // Chooses the item with this text; a text that is not in the list chooses nothing.
    void setText(const QString& text);

signals:
    void Click();
};

} // namespace korvanex
