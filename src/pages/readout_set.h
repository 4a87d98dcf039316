#pragma once
// The sliders of a page and the read-outs that follow them. A user's move rewrites the
// read-out at once; code that sets a slider calls show() for the same display work.

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace korvanex {

class ctSlide;
class TextBox;

class ReadoutSet {
public:
    // No text leaves the read-out as it is.
    using Rule = std::function<std::optional<QString>(int)>;

    // `after` runs after the read-out is written (a graph that follows the read-out).
    void bind(ctSlide* slider, TextBox* box, Rule rule, std::function<void()> after = {});
    // Rewrites the read-out of this slider from its value; false when it has none here.
    bool show(const ctSlide* slider) const;
    void showAll() const;

private:
    struct Binding {
        ctSlide* slider;
        TextBox* box;
        Rule rule;
        std::function<void()> after;
    };
    void apply(const Binding& b) const;

    std::vector<Binding> bindings_;
};

} // namespace korvanex
