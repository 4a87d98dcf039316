#pragma once
// What the request builders read of the window at a tick, copied out of the pages so that the
// builders stay pure: the band strips of the seven equalisers, the sliders, the two high-cut
// read-outs and the state fields. Members carry the names of the controls they come from.

#include <QString>
#include <array>

namespace korvanex::link {

// One band as its strip holds it (never as the graph draws it).
struct StripBand {
    float db = 0.0f;
    float Q = 0.0f;
    float F = 0.0f;
};

struct PageValues {
    // Equalisers: music, microphone A, effect, main output, centre, subwoofer, microphone B.
    std::array<StripBand, 10> LkSlide1{};
    std::array<StripBand, 10> LkSlide2{};
    std::array<StripBand, 3> LkSlide3{};
    std::array<StripBand, 3> LkSlide4{};
    std::array<StripBand, 3> LkSlide5{};
    std::array<StripBand, 3> LkSlide6{};
    std::array<StripBand, 10> LkSlide7{};

    // Slider values. ctSlide3 and ctSlide5 (the high cuts) are absent: their requests are
    // rebuilt from the read-outs Text3 and Text6.
    std::array<int, 3> ctSlide1{};  // music, microphone, effect volume
    int ctSlide2 = 0;               // reverb low cut, a frequency code 0..472
    int ctSlide4 = 0;               // echo low cut, a frequency code 0..472
    std::array<int, 8> ctSlide6{};  // echo group
    std::array<int, 10> ctSlide7{}; // reverb group
    int ctSlide8 = 0;               // microphone A high-frequency gain
    int ctSlide9 = 0;               // music low cut
    std::array<int, 2> ctSlide10{}; // centre music, centre microphone volume
    int ctSlide11 = 0;              // microphone A low cut
    // Subwoofer low cut, high cut, bass with the microphones open, bass with them closed.
    std::array<int, 4> ctSlide12{};
    int ctSlide13 = 0; // power-on and maximum volumes: music, microphone, effect
    int ctSlide14 = 0;
    int ctSlide15 = 0;
    int ctSlide16 = 0;
    int ctSlide17 = 0;
    int ctSlide18 = 0;
    int ctSlide19 = 0; // music output limit
    int ctSlide20 = 0; // microphone B low cut
    int ctSlide21 = 0; // microphone B high-frequency gain

    QString Text3; // reverb high cut read-out, "18KHz"
    QString Text6; // echo high cut read-out

    int ExciterOn = 0;
    int CenterEffectOn = 0;
    int SubPhase = 0;
    int EffectProgram = 0;
};

// The link variables a parameter step reads besides the pages.
struct StepOperands {
    int StepValue = 0;
    int StepIndex = 0;
    int SaveModeIndex = 0;
};

} // namespace korvanex::link
