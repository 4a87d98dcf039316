#include "core/prompter.h"

namespace korvanex {

void RecordingPrompter::show(const QString& text, const QString& title, BoxIcon icon) {
    boxes.push_back({text, title, icon, false});
    if (onBox) {
        onBox(boxes.back());
    }
}

bool RecordingPrompter::askOkCancel(const QString& text, const QString& title) {
    boxes.push_back({text, title, BoxIcon::Question, true});
    if (onBox) {
        onBox(boxes.back());
    }
    if (answers.empty()) {
        return true;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace korvanex
