#include "app/tab_strip.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace korvanex {

namespace {
// A click counts when the button goes up over the widget it went down on.
bool isClick(const QWidget* widget, const QMouseEvent* event) {
    return event->button() == Qt::LeftButton &&
           widget->rect().contains(event->position().toPoint());
}

// A tab as screen readers and UI automation see it: a page tab that can be pressed, the
// selected one marked so.
class TabAccessible : public QAccessibleWidget {
public:
    explicit TabAccessible(TabImage* tab) : QAccessibleWidget(tab, QAccessible::PageTab) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        s.selected = tab()->selected();
        return s;
    }
    QStringList actionNames() const override {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction()) {
            tab()->press();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

private:
    TabImage* tab() const { return static_cast<TabImage*>(widget()); }
};

QAccessibleInterface* tabAccessible(const QString&, QObject* object) {
    auto* tab = qobject_cast<TabImage*>(object);
    return tab != nullptr ? new TabAccessible(tab) : nullptr;
}

} // namespace

TabImage::TabImage(const QString& pageName, QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(tabAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setAccessibleName(pageName);
    // Only the selected tab is a Tab stop (setSelected); a click takes the focus too, so that
    // the focus mark follows the chosen tab instead of staying on the first one.
    setFocusPolicy(Qt::ClickFocus);
    setCursor(Qt::PointingHandCursor);
}

void TabImage::setSelected(bool on) {
    if (selected_ == on) {
        return;
    }
    selected_ = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
    update();
    QAccessible::State changed;
    changed.selected = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void TabImage::press() {
    emit Click();
}

TabImage* TabImage::neighbour(int step) const {
    if (parentWidget() == nullptr) {
        return nullptr;
    }
    QList<TabImage*> tabs = parentWidget()->findChildren<TabImage*>(Qt::FindDirectChildrenOnly);
    std::sort(tabs.begin(), tabs.end(),
              [](const TabImage* a, const TabImage* b) { return a->x() < b->x(); });
    const qsizetype at = tabs.indexOf(const_cast<TabImage*>(this)) + step;
    return at >= 0 && at < tabs.size() ? tabs[at] : nullptr;
}

QSize TabImage::sizeHint() const {
    return {100, 28};
}

void TabImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The selected tab stands taller and reaches down onto the page's top edge.
    const qreal top = selected_ ? 0.5 : 3.5;
    const QRectF r(0.5, top, width() - 1.0, height() - top + 1.0);
    const qreal radius = 5.0;
    QPainterPath path;
    path.moveTo(r.left(), r.bottom());
    path.lineTo(r.left(), r.top() + radius);
    path.quadTo(r.left(), r.top(), r.left() + radius, r.top());
    path.lineTo(r.right() - radius, r.top());
    path.quadTo(r.right(), r.top(), r.right(), r.top() + radius);
    path.lineTo(r.right(), r.bottom());

    QLinearGradient fill(0, top, 0, height());
    if (selected_) {
        fill.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
        fill.setColorAt(1, palette().color(QPalette::Window));
    } else {
        fill.setColorAt(0, QColor(0xC8, 0xCE, 0xD8));
        fill.setColorAt(1, QColor(0xA9, 0xB1, 0xBE));
    }
    p.fillPath(path, fill);
    p.setPen(QPen(QColor(0x6E, 0x78, 0x88), 1.0));
    p.drawPath(path);
    if (!selected_) {
        // The selected tab has no bottom edge: it opens onto its page.
        p.drawLine(QPointF(0, height() - 0.5), QPointF(width(), height() - 0.5));
    } else {
        p.fillRect(QRectF(r.left() + 3, r.top() + 0.5, r.width() - 6, 2.5),
                   QColor(0x1E, 0x6F, 0xD0));
    }
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1.0, Qt::DotLine));
        p.drawRoundedRect(r.adjusted(3, 4, -3, -4), 3, 3);
    }
}

void TabImage::mouseReleaseEvent(QMouseEvent* event) {
    if (isClick(this, event)) {
        emit Click();
    }
}

void TabImage::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        press();
        return;
    }
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        // As in a tab bar: the arrow chooses the tab beside this one and takes the focus there.
        if (TabImage* next = neighbour(event->key() == Qt::Key_Left ? -1 : 1)) {
            next->setFocus(Qt::TabFocusReason);
            next->press();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

TabLabel::TabLabel(const QString& pageName, QWidget* parent) : QLabel(pageName, parent) {
    setAlignment(Qt::AlignCenter);
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
}

void TabLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (isClick(this, event)) {
        emit Click();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

} // namespace korvanex
