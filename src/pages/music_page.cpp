#include "pages/music_page.h"

#include "controls/colors.h"
#include "controls/combo_box.h"
#include "controls/ct_slide.h"
#include "controls/dc_button.h"
#include "controls/option_group.h"
#include "controls/text_box.h"
#include "pages/readouts.h"
#include "pages/twips.h"

#include <QLabel>
#include <QRadioButton>
#include <algorithm>

namespace korvanex {

MusicPage::MusicPage(QWidget* parent) : PageBase(parent), eq(eqSection(1)) {
    // The caption rows down the left edge, each caption with its control beside or below it.
    auto* modeLabel = labelAt(QStringLiteral("音乐模式"), 8, 10);
    Combo1 = new ComboBox({"MUSIC1", "MUSIC2", "MUSIC3", "MUSIC4", "MUSIC5", "MUSIC6"}, this);
    Combo1->setGeometry(modeLabel->geometry().right() + 8, 8, 96, 24);
    Combo1->setAccessibleName(modeLabel->text());
    modeLabel->setBuddy(Combo1);

    auto* exciterLabel = labelAt(QStringLiteral("EXCITER:"), 8, 58);
    dcButton15 = new dcButton(QStringLiteral("关"), this);
    dcButton15->setGeometry(exciterLabel->geometry().right() + 8, 56, 56, 24);
    dcButton15->setLabel(exciterLabel->text());

    auto* portLabel = labelAt(QStringLiteral("音乐输入端口"), 8, 92);
    const std::array<const char*, 3> ports{"AUTO", "BGM", "AUX"};
    for (std::size_t i = 0; i < ports.size(); ++i) {
        dcButton3[i] = new dcButton(QString::fromLatin1(ports[i]), this);
        dcButton3[i]->setGeometry(8 + int(i) * 58, 112, 54, 24);
        dcButton3[i]->setAccessibleDescription(portLabel->text());
    }
    for (dcButton* b : dcButton3)
        b->setOnColours({kColorPortClicked, kColorSelected});
    dcButton3[0]->setBackColor(kColorPortClicked);

    auto* limitLabel = labelAt(QStringLiteral("Music Out Limit"), 8, 154);
    Text19 = readout(QStringLiteral("OFF"), limitLabel->text());
    Text19->setGeometry(118, 152, 56, 22);
    ctSlide19 = slider(0, 6, 0, limitLabel->text());
    ctSlide19->setGeometry(8, 178, 166, 24);
    readouts.bind(ctSlide19, Text19, [](int v) { return OutputLimitText(v); });

    eq.build(this);

    // The key-shift row along the bottom, right of the equaliser buttons; it ends at the page's
    // right edge when the captions are too wide for its design place.
    Option1 =
        new OptionGroup({"b5", "b4", "b3", "b2", "b1", "原调", "#1", "#2", "#3", "#4", "#5"}, this);
    const int gap = 6;
    int rowWidth = 0;
    for (int i = 0; i < Option1->count(); ++i)
        rowWidth += Option1->button(i)->sizeHint().width() + gap;
    const int rowLeft = std::min(twips(8400), twips(15615) - 8 - rowWidth);
    const int rowTop = twips(7920);
    auto* shiftLabel = new QLabel(QStringLiteral("音乐变调"), this);
    shiftLabel->setGeometry(
        QRect(QPoint(std::min(twips(7440), rowLeft - 12 - shiftLabel->sizeHint().width()), rowTop),
              shiftLabel->sizeHint()));
    int x = rowLeft;
    for (int i = 0; i < Option1->count(); ++i) {
        QRadioButton* b = Option1->button(i);
        b->setGeometry(x, rowTop - 2, b->sizeHint().width(), 22);
        b->setAccessibleDescription(shiftLabel->text());
        x += b->width() + gap;
    }
    Option1->setValue(5, true);

    LkSlide1 = eq.stripArray<10>();
    EQline1 = eq.graph;
    dcButton16 = eq.reset;
    dcButton17 = eq.bypass;
}

} // namespace korvanex
