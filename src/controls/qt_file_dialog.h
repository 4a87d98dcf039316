#pragma once
// The real open and save dialogs of the parameter files.

#include "core/file_dialog.h"

#include <QStringList>
#include <memory>

class QFileDialog;
class QWidget;

namespace korvanex {

class QtFileDialog : public FileDialog {
public:
    explicit QtFileDialog(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    std::optional<QString> ShowSave(const QString& title, const QString& filter) override;
    std::optional<QString> ShowOpen(const QString& title, const QString& filter) override;
    QString FileName() const override { return fileName_; }

    // The dialog as it is about to be shown: title, filters, mode and the last name set.
    std::unique_ptr<QFileDialog> build(bool save, const QString& title,
                                       const QString& filter) const;

    // "description|pattern" pairs as Qt's name filters. Qt takes the patterns from the
    // parentheses of a filter, so a description that does not end with its own pattern in
    // parentheses gets them added: "KTV文件(*.ktv)|*.ktv" -> "KTV文件(*.ktv)",
    // "Text|*.txt" -> "Text (*.txt)".
    static QStringList nameFilters(const QString& filter);

private:
    std::optional<QString> run(bool save, const QString& title, const QString& filter);

    QWidget* parent_;
    QString fileName_;
};

} // namespace korvanex
