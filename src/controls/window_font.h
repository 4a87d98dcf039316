#pragma once
// The window's fonts. The layout is fixed in pixels, so the pages' font is fixed in pixels
// too: it looks the same whatever point size the desktop uses. Every window of the program
// (the main window, message boxes, file dialogs, tool tips) draws its Chinese text with the
// same Simplified Chinese faces; without them the system's fallback may pick Japanese forms.

#include <QFont>
#include <QStringList>

class QWidget;

namespace korvanex {

// Simplified Chinese faces in order of preference: Linux first, then Windows.
QStringList chineseFontFamilies();

// The pages' and main window's font: 9 pt at 15 twips a pixel, 12 px.
inline constexpr int kWindowFontPixels = 12;
QFont windowFont();

// `base` (its size and style kept) drawn with the Simplified Chinese faces.
QFont withChineseFamilies(QFont base);

// For a window of its own (box, dialog): the Chinese faces at the desktop's size, so that its
// text reads at the size the user chose.
void useChineseFamilies(QWidget& window);

} // namespace korvanex
