#include "core/file_dialog.h"

namespace korvanex {

std::optional<QString> ScriptedFileDialog::ShowSave(const QString& title, const QString& filter) {
    return show(true, title, filter);
}

std::optional<QString> ScriptedFileDialog::ShowOpen(const QString& title, const QString& filter) {
    return show(false, title, filter);
}

std::optional<QString> ScriptedFileDialog::show(bool save, const QString& title,
                                                const QString& filter) {
    shown.push_back({save, title, filter, fileName_});
    if (onShow) {
        onShow(shown.back());
    }
    if (answers.empty()) {
        return std::nullopt;
    }
    std::optional<QString> answer = answers.front();
    answers.pop_front();
    if (!answer || answer->isEmpty()) {
        return std::nullopt;
    }
    fileName_ = *answer;
    return answer;
}

} // namespace korvanex
