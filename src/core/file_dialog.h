#pragma once
// The open and save dialogs of the parameter files go through a FileDialog, so that tests
// script the user's choice instead of blocking. One object serves both buttons: it offers the
// name chosen last, by either of them, as the next dialog's starting name.

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace korvanex {

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // `filter` is written "description|pattern" (pairs joined by '|'), as the catalogue holds
    // it. A save dialog asks before an existing file is replaced and adds no suffix. The
    // chosen name, or none when the user cancels or chooses nothing.
    virtual std::optional<QString> ShowSave(const QString& title, const QString& filter) = 0;
    virtual std::optional<QString> ShowOpen(const QString& title, const QString& filter) = 0;
    // The name chosen last; empty before the first choice.
    virtual QString FileName() const = 0;
};

// Answers from a queue (cancel when it is empty) and records every dialog shown.
class ScriptedFileDialog : public FileDialog {
public:
    struct Shown {
        bool save = false;
        QString title;
        QString filter;
        QString offered; // the name the dialog started with
    };

    std::optional<QString> ShowSave(const QString& title, const QString& filter) override;
    std::optional<QString> ShowOpen(const QString& title, const QString& filter) override;
    QString FileName() const override { return fileName_; }

    // Called while the dialog is "open", before it returns: lets a test act under it.
    std::function<void(const Shown&)> onShow;

    std::vector<Shown> shown;
    // std::nullopt is the user's cancel; an empty name counts as no choice.
    std::deque<std::optional<QString>> answers;

private:
    std::optional<QString> show(bool save, const QString& title, const QString& filter);

    QString fileName_;
};

} // namespace korvanex
