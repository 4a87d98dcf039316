#pragma once
// The real message boxes.

#include "core/prompter.h"

class QWidget;

namespace korvanex {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void show(const QString& text, const QString& title, BoxIcon icon) override;
    bool askOkCancel(const QString& text, const QString& title) override;

private:
    QWidget* parent_;
};

} // namespace korvanex
