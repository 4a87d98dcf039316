#include "controls/ct_slide.h"
#include "controls/text_box.h"
#include "eqcurve/eq_line.h"
#include "eqstrip/lk_slide.h"
#include "link/full_state_frame.h"
#include "pages/block_fixture.h"
#include "pages/block_samples.h"
#include "pages/page_values_reader.h"

#include <gtest/gtest.h>

using namespace korvanex;
using namespace korvanex::block_samples;

namespace {

QByteArray hex(const char* spaced) {
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

QByteArray bytesOf(const std::vector<int>& values) {
    QByteArray out;
    for (const int v : values) {
        out.append(static_cast<char>(v));
    }
    return out;
}

} // namespace

// Catches: a slider, strip or field read from the wrong control (or not at all), a band read
// from the graph instead of its strip, a high cut read from its slider instead of its
// read-out. The blocks of a connection, applied to the pages, come back as the whole set.
TEST(PageValuesReader, AppliedBlocksComeBackAsTheWholeSet) {
    LinkedPages f;
    f.connectWithSamples();
    const QByteArray effect = bytesOf(effectBytes());
    QByteArray expected = bytesOf(musicBytes()) + bytesOf(micABytes()) + effect.mid(1) +
                          bytesOf(micBBytes()) + char(systemBytes()[10]) + effect.at(0);
    expected[148] = 0; // effect bytes 21 and 22 carry nothing
    expected[149] = 0;
    EXPECT_EQ(link::fullStateFrame(readPageValues(*f.pages)).mid(8).toHex(' '),
              expected.toHex(' '));

    // Changed silently: the strip and the read-out count, the graph and the slider do not.
    f.pages->LkSlide4[1]->setDb(-12.0f);
    f.pages->ctSlide5->setValue(400);
    const QByteArray frame = link::fullStateFrame(readPageValues(*f.pages));
    EXPECT_EQ(frame.at(51), '\x00');
    EXPECT_EQ(frame.mid(170, 2), hex("05 78"));

    // What the whole set leaves out: the music and microphone volumes, the system page.
    const link::PageValues v = readPageValues(*f.pages);
    const std::vector<int> s = systemBytes();
    EXPECT_EQ((std::vector{v.ctSlide1[0], v.ctSlide1[1], v.ctSlide13, v.ctSlide14, v.ctSlide15,
                           v.ctSlide16, v.ctSlide17, v.ctSlide18, v.ExciterOn}),
              (std::vector{s[0], s[5], s[3], s[2], s[8], s[7], s[13], s[12], s[19]}));
}

// Catches: a wiring without a frame source, operands not taken from the link at the tick, a
// band frame built from the values stored with the request instead of the strip as it stands
// at the tick, a dropped step written anyway, strips without the window's message boxes, and
// a link still reaching the pages after the wiring has gone.
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
    const auto send = [&f](const Row& r) {
        while (f.engine->requestAwaited()) { // the last frame's window: nothing answers it
            f.clock.advance(1);
        }
        f.engine->store({.step = r.step,
                         .StepValue = r.stepValue,
                         .StepIndex = r.stepIndex,
                         .SaveModeIndex = r.saveMode});
        f.line.writes.clear();
        f.clock.advance(50);
        return f.line.writes.empty() ? QByteArray() : f.line.writes.front();
    };
    for (const Row& r : rows) {
        EXPECT_EQ(send(r).toHex(' '), hex(r.frame).toHex(' ')) << "step " << r.step;
    }

    f.pages->LkSlide1[0]->setT(3);
    f.pages->LkSlide7[9]->setT(3);
    EXPECT_EQ(f.prompter.boxes.size(), 2u) << "first and last strip report an invalid type";

    f.wiring.reset();
    EXPECT_TRUE(send(rows[0]).isEmpty());
    f.setLinkUp(false);
    f.connectWithSamples();
    EXPECT_EQ(f.engine->Blocks.MusicBlock[40], QStringLiteral("04")) << "the blocks came";
    EXPECT_EQ(f.pages->ctSlide19->Value(), 0) << "no applier ran";
}
