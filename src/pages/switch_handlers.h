#pragma once
// The page handlers of the buttons and selectors: the four section recall lists, the three
// caption toggles, the music input port and microphone feedback rows, mute and key lock, the
// key shift and power-on mode options, the save mode and the unit save button. Each does its
// display work, then leaves its request through Requests.

#include "pages/requests.h"

#include <QObject>

namespace korvanex {

class PageSet;
class Prompter;

namespace link {
class LinkEngine;
}

class SwitchHandlers : public QObject {
    Q_OBJECT
public:
    // Wires every control named below to its handler.
    SwitchHandlers(PageSet& pages, link::LinkEngine& link, Prompter& prompter,
                   QObject* parent = nullptr);

    // Section recall: Combo1 music, Combo2 microphone A, Combo3 effect, Combo4 microphone B.
    void Combo_Click(int combo);
    // Caption toggles: exciter, effect into centre, subwoofer phase.
    void dcButton15_Click();
    void dcButton27_Click();
    void dcButton12_Click();
    // Selector rows: microphone feedback (hidden), music input port.
    void dcButton19_Click(int Index);
    void dcButton3_Click(int Index);
    // Mute and key lock: only with the link up; otherwise a box says so.
    void dcButton31_Click();
    void dcButton32_Click();
    // Option groups: key shift, power-on music, microphone and effect mode.
    void Option_Click(int group, int Index);
    // Save mode, and the unit's save button.
    void Option5_Click(int Index);
    void dcButton4_Click();

private:
    struct Toggle;
    struct Switch;
    void toggle(const Toggle& t);
    void muteOrLock(const Switch& s);

    PageSet& pages_;
    Requests requests_;
    Prompter& prompter_;
};

} // namespace korvanex
