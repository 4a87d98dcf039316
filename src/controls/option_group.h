#pragma once
// An array of option buttons of which at most one is chosen. `Click(Index)` is raised when
// the user chooses a member that was not chosen; setting `Value` from code raises nothing.

#include <QObject>
#include <QStringList>
#include <vector>

class QRadioButton;
class QButtonGroup;
class QWidget;

namespace korvanex {

class OptionGroup : public QObject {
    Q_OBJECT
public:
    // One button per caption, children of `parent`; the page places them.
    OptionGroup(const QStringList& captions, QWidget* parent);

    int count() const { return int(buttons_.size()); }
    QRadioButton* button(int index) const { return buttons_.at(std::size_t(index)); }

    // False for an index outside the array.
    bool Value(int index) const;
    // True chooses this member and clears the others; false clears it, leaving none
    // chosen. An index outside the array is ignored.
    void setValue(int index, bool on);
    // The chosen member, -1 when none.
    int selectedIndex() const;

signals:
    void Click(int Index);

private:
    std::vector<QRadioButton*> buttons_;
    QButtonGroup* group_;
    bool settingFromCode_ = false;
};

} // namespace korvanex
