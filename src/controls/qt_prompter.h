#pragma once
// The real message boxes.

#include "core/prompter.h"

#include <memory>

class QMessageBox;
class QWidget;

namespace korvanex {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void show(const QString& text, const QString& title, BoxIcon icon) override;
    bool askOkCancel(const QString& text, const QString& title) override;

    // The box as it is about to be shown: one OK button, or OK and Cancel for a question.
    std::unique_ptr<QMessageBox> build(const QString& text, const QString& title, BoxIcon icon,
                                       bool question) const;

private:
    QWidget* parent_;
};

} // namespace korvanex
