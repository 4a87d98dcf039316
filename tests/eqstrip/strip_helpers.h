#pragma once
// Shared pieces of the strip tests: a strip with its band set, and mouse events with the
// exact buttons and modifiers a case needs.

#include "eqstrip/lk_slide.h"

#include <QPointF>
#include <QSignalSpy>

namespace korvanex::test {

// Sends one mouse event to a widget at a position in its own logical pixels.
void sendMouse(QWidget* widget, QEvent::Type type, QPointF pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The point on the knob's centre line, in the track's pixels, for the knob's current top.
QPointF knobCentre(const LkSlide& strip);

// Types a text into a box and presses Enter.
void enterText(QWidget* box, const QString& text);

// The float carried by the last emission of a spied signal.
float lastFloat(const QSignalSpy& spy);

} // namespace korvanex::test
