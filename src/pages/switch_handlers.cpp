#include "pages/switch_handlers.h"

#include "controls/colors.h"
#include "controls/combo_box.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "core/messages.h"
#include "core/prompter.h"
#include "pages/page_set.h"

#include <array>
#include <cstdint>

namespace korvanex {

// A button whose caption is its state; the page field beside it is what the frame carries.
struct SwitchHandlers::Toggle {
    dcButton* PageSet::*button;
    const char* offCaption;
    const char* onCaption;
    std::int16_t PageState::*field;
    std::int16_t onValue;
    int step;
};

// Mute and key lock: the field (0 or -1) is the state, the colour shows it.
struct SwitchHandlers::Switch {
    dcButton* PageSet::*button;
    std::int16_t PageState::*field;
    int step;
};

namespace {

struct Recall {
    ComboBox* PageSet::*combo;
    int RecallMode;
    int NextBlock;
    int presets; // the ListIndex values a recall accepts: 0..presets - 1
};

constexpr std::array<Recall, 4> kRecalls{{
    {&PageSet::Combo1, 9, 1, 6},
    {&PageSet::Combo2, 10, 2, 6},
    {&PageSet::Combo3, 11, 3, 8},
    {&PageSet::Combo4, 12, 4, 6},
}};

struct Options {
    OptionGroup* PageSet::*group;
    int step;
};

constexpr std::array<Options, 4> kOptions{{
    {&PageSet::Option1, 48}, // key shift
    {&PageSet::Option2, 45}, // power-on music mode
    {&PageSet::Option3, 46}, // power-on microphone mode
    {&PageSet::Option4, 47}, // power-on effect mode
}};

// All grey, then the clicked member in its selected colour.
template <std::size_t N>
bool markClicked(const std::array<dcButton*, N>& row, int Index, std::uint32_t colour) {
    if (Index < 0 || std::size_t(Index) >= N) {
        return false;
    }
    for (dcButton* b : row) {
        b->setBackColor(kColorOff);
    }
    row[std::size_t(Index)]->setBackColor(colour);
    return true;
}

} // namespace

SwitchHandlers::SwitchHandlers(PageSet& pages, link::LinkEngine& link, Prompter& prompter,
                               QObject* parent)
    : QObject(parent), pages_(pages), requests_(link), prompter_(prompter) {
    for (std::size_t n = 0; n < kRecalls.size(); ++n) {
        connect(pages_.*kRecalls[n].combo, &ComboBox::Click, this,
                [this, n] { Combo_Click(int(n) + 1); });
    }
    connect(pages_.dcButton15, &dcButton::Click, this, &SwitchHandlers::dcButton15_Click);
    connect(pages_.dcButton27, &dcButton::Click, this, &SwitchHandlers::dcButton27_Click);
    connect(pages_.dcButton12, &dcButton::Click, this, &SwitchHandlers::dcButton12_Click);
    for (std::size_t i = 0; i < pages_.dcButton19.size(); ++i) {
        connect(pages_.dcButton19[i], &dcButton::Click, this,
                [this, i] { dcButton19_Click(int(i)); });
    }
    for (std::size_t i = 0; i < pages_.dcButton3.size(); ++i) {
        connect(pages_.dcButton3[i], &dcButton::Click, this,
                [this, i] { dcButton3_Click(int(i)); });
    }
    connect(pages_.dcButton31, &dcButton::Click, this, &SwitchHandlers::dcButton31_Click);
    connect(pages_.dcButton32, &dcButton::Click, this, &SwitchHandlers::dcButton32_Click);
    for (std::size_t g = 0; g < kOptions.size(); ++g) {
        connect(pages_.*kOptions[g].group, &OptionGroup::Click, this,
                [this, g](int Index) { Option_Click(int(g) + 1, Index); });
    }
    connect(pages_.Option5, &OptionGroup::Click, this, &SwitchHandlers::Option5_Click);
    connect(pages_.dcButton4, &dcButton::Click, this, &SwitchHandlers::dcButton4_Click);
}

void SwitchHandlers::Combo_Click(int combo) {
    if (combo < 1 || combo > int(kRecalls.size())) {
        return;
    }
    const Recall& r = kRecalls[std::size_t(combo - 1)];
    const int index = (pages_.*r.combo)->ListIndex();
    // The unit is not ready while a connection's read or another recall runs: the list then
    // shows the new item and nothing is sent.
    link::LinkStore recall;
    recall.DeviceReady = false;
    recall.RecallMode = r.RecallMode;
    recall.NextBlock = r.NextBlock;
    if (index >= 0 && index < r.presets) {
        recall.RecallPreset = index;
    }
    requests_.request(52, recall, link::StoreTest::LinkUpAndReady);
}

void SwitchHandlers::toggle(const Toggle& t) {
    dcButton* button = pages_.*t.button;
    std::int16_t& field = pages_.state.*t.field;
    // Any caption but the off caption counts as on, whatever the field holds.
    if (button->Caption() == QString::fromUtf8(t.offCaption)) {
        button->setCaption(QString::fromUtf8(t.onCaption));
        field = t.onValue;
    } else {
        button->setCaption(QString::fromUtf8(t.offCaption));
        field = 0;
    }
    requests_.request(t.step);
}

void SwitchHandlers::dcButton15_Click() {
    toggle({&PageSet::dcButton15, "关", "开", &PageState::ExciterOn, 255, 4});
}

void SwitchHandlers::dcButton27_Click() {
    // The centre takes 71 for on, not 255.
    toggle({&PageSet::dcButton27, "关", "开", &PageState::CenterEffectOn, 71, 31});
}

void SwitchHandlers::dcButton12_Click() {
    toggle({&PageSet::dcButton12, "0", "180", &PageState::SubPhase, 255, 36});
}

void SwitchHandlers::dcButton19_Click(int Index) {
    if (markClicked(pages_.dcButton19, Index, kColorSelected)) {
        requests_.request(10, {.StepValue = Index});
    }
}

void SwitchHandlers::dcButton3_Click(int Index) {
    if (markClicked(pages_.dcButton3, Index, kColorPortClicked)) {
        requests_.request(49, {.StepValue = Index});
    }
}

void SwitchHandlers::muteOrLock(const Switch& s) {
    if (!requests_.LinkUp()) {
        // Decided before the box: a connection that completes while it is open changes
        // nothing here.
        requests_.stopTimer3();
        prompter_.show(msg::text(msg::kNotOnline), msg::text(msg::kWindowCaption),
                       BoxIcon::Exclamation);
        return;
    }
    std::int16_t& field = pages_.state.*s.field;
    const bool on = field == 0;
    field = on ? std::int16_t(-1) : std::int16_t(0);
    (pages_.*s.button)->setBackColor(on ? kColorOn : kColorOff);
    requests_.request(s.step, {.StepValue = on ? 255 : 0});
}

void SwitchHandlers::dcButton31_Click() {
    muteOrLock({&PageSet::dcButton31, &PageState::MuteOn, 50});
}

void SwitchHandlers::dcButton32_Click() {
    muteOrLock({&PageSet::dcButton32, &PageState::KeyLockOn, 51});
}

void SwitchHandlers::Option_Click(int group, int Index) {
    if (group < 1 || group > int(kOptions.size())) {
        return;
    }
    requests_.request(kOptions[std::size_t(group - 1)].step, {.StepValue = Index});
}

void SwitchHandlers::Option5_Click(int Index) {
    // The system page has already shown or hidden the save button, whatever the link.
    requests_.request(59, {.SaveModeIndex = Index});
}

void SwitchHandlers::dcButton4_Click() {
    requests_.request(60);
}

} // namespace korvanex
