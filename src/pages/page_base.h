#pragma once
// What every page widget (`Picture1(i)`) has: its read-outs and the helpers that place
// controls at their design positions.

#include "pages/readout_set.h"

#include <QWidget>
#include <array>

class QLabel;

namespace korvanex {

class ctSlide;
class TextBox;

// The tab captions, by page index.
inline constexpr std::array<const char*, 8> kPageCaptions{"音乐", "麦克风A", "效果", "主输出",
                                                          "中置", "超低音",  "系统", "麦克风B"};

class PageBase : public QWidget {
    Q_OBJECT
public:
    explicit PageBase(QWidget* parent = nullptr);

    ReadoutSet readouts;

protected:
    // A caption label at a design position in twips (width, height in twips; 0 = fit text).
    QLabel* label(const QString& text, int left, int top, int width = 0, int height = 0,
                  QWidget* parent = nullptr);
    // A caption label at a position in logical pixels, sized to its text.
    QLabel* labelAt(const QString& text, int x, int y, QWidget* parent = nullptr);
    // A horizontal slider with its caption for screen readers.
    ctSlide* slider(int minimum, int maximum, int value, const QString& name,
                    QWidget* parent = nullptr);
    // A read-only read-out box with its design text.
    TextBox* readout(const QString& text, const QString& name, QWidget* parent = nullptr);
};

} // namespace korvanex
