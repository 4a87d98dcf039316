#pragma once
// How the main window shows itself: its font (fixed in pixels, Simplified Chinese faces, the
// tool tips' faces too) and, to screen readers and UI automation, a window titled with the
// product name rather than an anonymous filler.

class QWidget;

namespace korvanex {

void applyWindowLook(QWidget& window);

} // namespace korvanex
