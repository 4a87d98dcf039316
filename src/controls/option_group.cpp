#include "controls/option_group.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace korvanex {

OptionGroup::OptionGroup(const QStringList& captions, QWidget* parent)
    : QObject(parent), group_(new QButtonGroup(this)) {
    for (int i = 0; i < captions.size(); ++i) {
        auto* b = new QRadioButton(captions[i], parent);
        buttons_.push_back(b);
        group_->addButton(b, i);
    }
    // A member becoming chosen by the user (click, arrow keys) is a Click; code that sets
    // Value raises nothing.
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked && !settingFromCode_)
            emit Click(id);
    });
}

bool OptionGroup::Value(int index) const {
    return index >= 0 && index < count() && buttons_[std::size_t(index)]->isChecked();
}

void OptionGroup::setValue(int index, bool on) {
    if (index < 0 || index >= count())
        return;
    settingFromCode_ = true;
    auto* b = buttons_[std::size_t(index)];
    if (on) {
        b->setChecked(true);
    } else if (b->isChecked()) {
        // An exclusive group refuses to clear its chosen member.
        group_->setExclusive(false);
        b->setChecked(false);
        group_->setExclusive(true);
    }
    settingFromCode_ = false;
}

int OptionGroup::selectedIndex() const {
    return group_->checkedId();
}

} // namespace korvanex
