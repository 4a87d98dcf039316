#include "pages/page_set.h"

#include "pages/effect_page.h"
#include "pages/mic_page.h"
#include "pages/music_page.h"
#include "pages/output_pages.h"
#include "pages/system_page.h"
#include "pages/twips.h"
#include "pages/volume_frame.h"

namespace korvanex {

PageSet::PageSet(QWidget* parent) {
    music_ = new MusicPage(parent);
    micA_ = new MicPage(false, parent);
    effect_ = new EffectPage(parent);
    mainOut_ = new MainOutPage(parent);
    center_ = new CenterPage(parent);
    sub_ = new SubPage(parent);
    system_ = new SystemPage(parent);
    micB_ = new MicPage(true, parent);
    Picture1 = {music_, micA_, effect_, mainOut_, center_, sub_, system_, micB_};
    for (std::size_t i = 0; i < Picture1.size(); ++i) {
        Picture1[i]->setGeometry(pageGeometry());
        Picture1[i]->setAccessibleName(QString::fromUtf8(kPageCaptions[i]));
        Picture1[i]->setVisible(i == 0);
    }
    // Frame1 stands over the pages' top right corner, in front of them.
    // The effect page starts as the effect program's start value (0) has it, as it looks after
    // every connection that reads that program.
    effect_->showEffectProgram(state.EffectProgram);
    Frame1 = new VolumeFrame(parent);
    Frame1->setGeometry(frameGeometry());
    Frame1->raise();

    ctSlide1 = Frame1->ctSlide1;
    Text1 = Frame1->Text1;
    Label3 = {Frame1->Label3[0], Frame1->Label3[1], Frame1->Label3[2], nullptr,
              micA_->feedbackLabel};

    MusicPage& m = *music_;
    Combo1 = m.Combo1;
    dcButton15 = m.dcButton15;
    dcButton3 = m.dcButton3;
    ctSlide19 = m.ctSlide19;
    Text19 = m.Text19;
    Option1 = m.Option1;
    LkSlide1 = m.LkSlide1;
    EQline1 = m.EQline1;
    dcButton16 = m.dcButton16;
    dcButton17 = m.dcButton17;

    MicPage& a = *micA_;
    Combo2 = a.combo;
    dcButton19 = a.dcButton19;
    ctSlide11 = a.lowCut;
    Text5 = a.lowCutText;
    ctSlide8 = a.highGain;
    Text9 = a.highGainText;
    LkSlide2 = a.strips;
    EQline2 = a.graph;
    dcButton18 = a.reset;
    dcButton20 = a.bypass;

    EffectPage& e = *effect_;
    Combo3 = e.Combo3;
    Picture7 = e.Picture7;
    ctSlide2 = e.ctSlide2;
    Text2 = e.Text2;
    ctSlide3 = e.ctSlide3;
    Text3 = e.Text3;
    ctSlide4 = e.ctSlide4;
    Text4 = e.Text4;
    ctSlide5 = e.ctSlide5;
    Text6 = e.Text6;
    Picture8 = e.Picture8;
    Picture9 = e.Picture9;
    ctSlide6 = e.ctSlide6;
    Text7 = e.Text7;
    ctSlide7 = e.ctSlide7;
    Text8 = e.Text8;
    LkSlide3 = e.LkSlide3;
    EQline3 = e.EQline3;
    dcButton21 = e.dcButton21;
    dcButton22 = e.dcButton22;

    ctSlide9 = mainOut_->ctSlide9;
    Text10 = mainOut_->Text10;
    LkSlide4 = mainOut_->LkSlide4;
    EQline4 = mainOut_->EQline4;
    dcButton23 = mainOut_->dcButton23;
    dcButton24 = mainOut_->dcButton24;

    dcButton27 = center_->dcButton27;
    ctSlide10 = center_->ctSlide10;
    Text11 = center_->Text11;
    LkSlide5 = center_->LkSlide5;
    EQline5 = center_->EQline5;
    dcButton25 = center_->dcButton25;
    dcButton26 = center_->dcButton26;

    ctSlide12 = sub_->ctSlide12;
    Text12 = sub_->Text12;
    dcButton12 = sub_->dcButton12;
    LkSlide6 = sub_->LkSlide6;
    EQline6 = sub_->EQline6;
    dcButton28 = sub_->dcButton28;
    dcButton29 = sub_->dcButton29;

    SystemPage& s = *system_;
    Shape1 = s.Shape1;
    dcButton32 = s.dcButton32;
    dcButton31 = s.dcButton31;
    dcButton13 = s.dcButton13;
    dcButton14 = s.dcButton14;
    Picture3 = s.Picture3;
    Option5 = s.Option5;
    dcButton4 = s.dcButton4;
    Picture2 = s.Picture2;
    Option2 = s.Option2;
    Option3 = s.Option3;
    Option4 = s.Option4;
    ctSlide13 = s.ctSlide13;
    Text13 = s.Text13;
    ctSlide14 = s.ctSlide14;
    Text14 = s.Text14;
    ctSlide15 = s.ctSlide15;
    Text15 = s.Text15;
    ctSlide16 = s.ctSlide16;
    Text16 = s.Text16;
    ctSlide17 = s.ctSlide17;
    Text17 = s.Text17;
    ctSlide18 = s.ctSlide18;
    Text18 = s.Text18;

    MicPage& b = *micB_;
    Combo4 = b.combo;
    ctSlide20 = b.lowCut;
    Text21 = b.lowCutText;
    ctSlide21 = b.highGain;
    Text20 = b.highGainText;
    LkSlide7 = b.strips;
    EQline7 = b.graph;
    dcButton1 = b.reset;
    dcButton2 = b.bypass;
}

QRect PageSet::pageGeometry() {
    return twipRect(120, 480, 15615, 8295);
}

QRect PageSet::frameGeometry() {
    // Ends just above the graphs (which start 3720 twips down the window) so that it hides
    // no part of them.
    QRect r = twipRect(13320, 500, 2385, 3255);
    r.setBottom(pageGeometry().top() + twips(3240) - 2);
    return r;
}

EqPanel& PageSet::eq(int number) const {
    switch (number) {
    case 2:
        return micA_->eq;
    case 3:
        return effect_->eq;
    case 4:
        return mainOut_->eq;
    case 5:
        return center_->eq;
    case 6:
        return sub_->eq;
    case 7:
        return micB_->eq;
    default:
        return music_->eq;
    }
}

bool PageSet::showReadout(const ctSlide* slider) const {
    bool found = Frame1->readouts.show(slider);
    for (QWidget* page : Picture1)
        found = static_cast<PageBase*>(page)->readouts.show(slider) || found;
    return found;
}

void PageSet::showAllReadouts() const {
    Frame1->readouts.showAll();
    for (QWidget* page : Picture1)
        static_cast<PageBase*>(page)->readouts.showAll();
}

void PageSet::showEffectProgram() {
    effect_->showEffectProgram(state.EffectProgram);
}

void PageSet::showSaveMode() {
    system_->showSaveMode();
}

} // namespace korvanex
