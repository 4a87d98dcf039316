#pragma once
// Every message box goes through a Prompter, so that tests record boxes instead of blocking.

#include <QString>
#include <deque>
#include <functional>
#include <vector>

namespace korvanex {

// The box styles, with the numbers the program's message calls use.
enum class BoxIcon { Critical = 16, Question = 32, Exclamation = 48, Information = 64 };

class Prompter {
public:
    virtual ~Prompter() = default;
    // A modal box with one OK button.
    virtual void show(const QString& text, const QString& title, BoxIcon icon) = 0;
    // A modal OK/Cancel question; true for OK.
    virtual bool askOkCancel(const QString& text, const QString& title) = 0;
};

// Records every box; questions are answered from a queue (OK when the queue is empty).
class RecordingPrompter : public Prompter {
public:
    struct Box {
        QString text;
        QString title;
        BoxIcon icon = BoxIcon::Information;
        bool question = false;
    };

    void show(const QString& text, const QString& title, BoxIcon icon) override;
    bool askOkCancel(const QString& text, const QString& title) override;

    // Called while a box is "open", before show() returns: lets a test act under the box.
    std::function<void(const Box&)> onBox;

    std::vector<Box> boxes;
    std::deque<bool> answers;
};

} // namespace korvanex
