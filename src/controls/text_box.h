#pragma once
// A one-line text box. `KeyPress` runs before a typed character reaches the box, with the
// character code (Enter is 13, Backspace 8); a handler may set it to 0 to drop the key.
// Read-outs are read-only boxes: the program writes them, the user can select and copy.

#include <QLineEdit>

namespace korvanex {

class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(const QString& text, QWidget* parent = nullptr);

    QString Text() const { return text(); }
    void setText(const QString& text) { QLineEdit::setText(text); }

signals:
    void KeyPress(int& KeyAscii);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace korvanex
