#pragma once
// The page tabs: `Image1(i)` is the tab itself, drawn in its normal or selected look, and
// `Label1(i)` lies over it with the page's name. A click on either selects the page.
// To the keyboard the strip is one stop, the selected tab: Left and Right choose the tab
// beside it. Screen readers see page tabs with a press action and the selected one marked.

#include <QLabel>
#include <QWidget>

namespace korvanex {

class TabImage : public QWidget {
    Q_OBJECT
public:
    TabImage(const QString& pageName, QWidget* parent = nullptr);

    // The selected look (the tab joins the page below it) or the normal one.
    bool selected() const { return selected_; }
    void setSelected(bool on);

    // What a click does: raises Click.
    void press();

    QSize sizeHint() const override;

signals:
    // A user's click, or Space/Enter while the tab has the keyboard focus.
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The tab `step` places to the right (negative: left) among its siblings, null past the end.
    TabImage* neighbour(int step) const;

    bool selected_ = false;
};

class TabLabel : public QLabel {
    Q_OBJECT
public:
    TabLabel(const QString& pageName, QWidget* parent = nullptr);

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace korvanex
