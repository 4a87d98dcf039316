#pragma once
// A drop-down list of fixed items. `Click` is raised when the user picks an item (even the
// one already shown); setting `ListIndex` or `Text` from code raises nothing. A wheel turned
// over the list while it does not have the keyboard focus is left to the page: each item is a
// preset the unit recalls, so a stray scroll must not pick one.

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

protected:
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace korvanex
