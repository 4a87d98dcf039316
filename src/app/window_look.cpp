#include "app/window_look.h"

#include "app/form1.h"
#include "controls/window_font.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QToolTip>

namespace korvanex {

namespace {

QAccessibleInterface* windowAccessible(const QString&, QObject* object) {
    auto* window = qobject_cast<Form1*>(object);
    return window != nullptr ? new QAccessibleWidget(window, QAccessible::Window) : nullptr;
}

} // namespace

void applyWindowLook(QWidget& window) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(windowAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    window.setFont(windowFont());
    // Tool tips are windows of their own, at the desktop's size.
    QToolTip::setFont(withChineseFamilies(QToolTip::font()));
}

} // namespace korvanex
