#include "controls/ct_slide.h"
#include "controls/text_box.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "link/full_state_frame.h"
#include "pages/block_fixture.h"
#include "pages/eq_panel.h"
#include "pages/page_values_reader.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

using namespace korvanex;
using korvanex::block_samples::LinkedPages;

namespace {

QByteArray hex(const char* spaced) {
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

template <std::size_t N>
void setSliders(const std::array<ctSlide*, N>& sliders, std::initializer_list<int> values) {
    std::size_t i = 0;
    for (const int v : values) {
        sliders[i++]->setValue(v);
    }
}

} // namespace

// Catches: a band read from the graph instead of its strip, a slider or field read from the
// wrong control, a high cut read from its slider instead of its read-out. The reference pages
// set on real controls must give the reference whole set, byte for byte.
TEST(PageValuesReader, RealPagesGiveTheReferenceWholeSet) {
    QWidget window;
    PageSet p(&window);
    static constexpr float kStart[10] = {60, 100, 200, 300, 500, 1000, 2000, 4000, 6300, 10000};
    for (int n = 1; n <= 7; ++n) {
        EqPanel& panel = p.eq(n);
        for (std::size_t i = 0; i < panel.strips.size(); ++i) {
            panel.strips[i]->setVal(kStart[i], 0.0f, 1.0f);
            // The graphs hold other bands: only the strips may be read.
            panel.graph->setVal(int(i), 5000.0f, 6.0f, 2.0f);
        }
    }
    p.LkSlide1[0]->setVal(20.0f, 12.0f, 0.3f);
    p.LkSlide1[3]->setVal(1000.0f, 3.0f, 1.0f);
    p.LkSlide1[9]->setVal(20000.0f, -12.0f, 15.0f);
    p.LkSlide6[1]->setVal(151.0f, -0.1f, 0.7f);
    p.ctSlide19->setValue(6);
    p.ctSlide9->setValue(100);
    setSliders(p.ctSlide10, {70, 80});
    setSliders(p.ctSlide12, {10, 20, 30, 80});
    p.ctSlide11->setValue(40);
    p.ctSlide8->setValue(3);
    setSliders(p.ctSlide6, {1, 2, 3, 4, 5, 6, 7, 8});
    setSliders(p.ctSlide7, {11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
    p.ctSlide4->setValue(472);
    p.ctSlide2->setValue(300);
    p.ctSlide20->setValue(50);
    p.ctSlide21->setValue(2);
    setSliders(p.ctSlide1, {10, 20, 64});
    p.state.CenterEffectOn = 71;
    p.state.SubPhase = 255;
    p.state.EffectProgram = 5;
    p.Text6->setText(QStringLiteral("12.5KHz"));
    p.Text3->setText(QStringLiteral("18KHz"));
    p.ctSlide5->setValue(400);
    p.ctSlide3->setValue(400);

    const QByteArray frame = link::fullStateFrame(readPageValues(p));
    EXPECT_EQ(QCryptographicHash::hash(frame, QCryptographicHash::Sha256).toHex(),
              "2e6a224dfbbc43d9ad82d1677588ea3daad225392d845de949adb3c03d3afad5");

    // What the whole set leaves out: the music and microphone volumes, the system page.
    setSliders(
        std::array{p.ctSlide13, p.ctSlide14, p.ctSlide15, p.ctSlide16, p.ctSlide17, p.ctSlide18},
        {31, 32, 33, 34, 35, 36});
    p.state.ExciterOn = 254;
    const link::PageValues v = readPageValues(p);
    EXPECT_EQ((std::array{v.ctSlide1[0], v.ctSlide1[1], v.ctSlide13, v.ctSlide14, v.ctSlide15,
                          v.ctSlide16, v.ctSlide17, v.ctSlide18, v.ExciterOn}),
              (std::array{10, 20, 31, 32, 33, 34, 35, 36, 254}));
}

// Catches: the window's wiring without a frame source, operands not taken from the link at
// the tick, a band frame built from the values stored with the request instead of the strip
// as it stands at the tick, and a dropped step written anyway.
TEST(PageWiring, TheSendersWriteTheFramesOfThePages) {
    LinkedPages f;
    f.setLinkUp(true);
    f.engine->DeviceReady = true;
    LkSlide* strip = f.pages->LkSlide1[3];
    emit strip->FChanged(1000.0f);
    emit strip->QChanged(1.0f);
    emit strip->DBChanged(-6.0f);
    ASSERT_EQ(f.engine->PendingStep, 2);
    strip->setDb(3.0f); // changed again before the tick
    f.clock.advance(20);
    ASSERT_FALSE(f.line.writes.empty());
    EXPECT_EQ(f.line.writes.back().toHex(' '),
              hex("A5 67 33 31 31 30 08 02 01 03 0A 96 01 D8 7F").toHex(' '));

    struct Row {
        int step, stepValue, stepIndex, saveMode;
        const char* frame; // empty: dropped
    };
    const Row rows[] = {{59, 0, 0, 1, "A5 67 33 31 31 30 04 08 0E 01 17"},
                        {35, 3, 0, 0, "A5 67 33 31 31 30 04 07 05 50 5C"},
                        {20, 0, 8, 0, ""}};
    for (const Row& r : rows) {
        f.engine->StepValue = r.stepValue;
        f.engine->StepIndex = r.stepIndex;
        f.engine->SaveModeIndex = r.saveMode;
        f.engine->PendingStep = r.step;
        f.engine->EnableOwnerOf(r.step);
        f.line.writes.clear();
        f.clock.advance(50);
        const QByteArray expected = hex(r.frame);
        EXPECT_EQ(f.line.writes.empty(), expected.isEmpty()) << "step " << r.step;
        if (!f.line.writes.empty()) {
            EXPECT_EQ(f.line.writes.front().toHex(' '), expected.toHex(' ')) << "step " << r.step;
        }
    }
}
