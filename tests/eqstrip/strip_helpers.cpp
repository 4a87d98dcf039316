#include "strip_helpers.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <algorithm>

namespace korvanex::test {

void sendMouse(QWidget* widget, QEvent::Type type, QPointF pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

QPointF knobCentre(const LkSlide& strip) {
    const double top = std::clamp(strip.knobTop(), 0.0, 1440.0);
    return {26.0, (top + 150.0) / 15.0};
}

void enterText(QWidget* box, const QString& text) {
    auto* edit = static_cast<QLineEdit*>(box);
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

float lastFloat(const QSignalSpy& spy) {
    return spy.isEmpty() ? -999.0f : spy.last().at(0).toFloat();
}

} // namespace korvanex::test
