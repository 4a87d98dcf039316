// What the strip shows: where the knob is drawn for a gain, and whether the boxes' longest
// texts fit at the boxes' own font.
#include "strip_helpers.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace korvanex;

namespace {

// Rows of the track, in its own pixels, where the knob's red gain line is drawn down the
// knob's middle column.
std::vector<int> gainLineRows(LkSlide& strip) {
    const QImage image = strip.grab().toImage();
    const QPoint track = strip.knobTrack()->pos();
    std::vector<int> rows;
    for (int y = 0; y < strip.knobTrack()->height(); ++y) {
        const QColor c = image.pixelColor(track + QPoint(27, y));
        if (c.red() > 150 && c.green() < 100 && c.blue() < 100) {
            rows.push_back(y);
        }
    }
    return rows;
}

// True when the box's text does not fit: the line edit then scrolls it to keep the cursor
// in view, so the text is drawn differently with the cursor at its start and at its end.
bool textScrolls(QLineEdit* box) {
    box->setCursorPosition(0);
    const QImage start = box->grab().toImage();
    box->setCursorPosition(static_cast<int>(box->text().size()));
    return box->grab().toImage() != start;
}

} // namespace

// Catches: a gain beyond the scale (byte 255 = +13.5 dB) clipped in the stored value, the
// knob drawn at its stored top off the track instead of held at the track's end, and a
// knob not drawn where its gain puts it (10 px from the top at +12 dB, 4 px a dB).
TEST(LkSlideLook, KnobDrawnAtItsGainHeldOnTheTrack) {
    const struct {
        float gain;
        int lineRow; // the gain line covers this row and the one above
    } cases[] = {
        {12.0f, 10}, {6.0f, 34}, {0.0f, 58}, {-12.0f, 106}, {13.5f, 10}, {-13.5f, 106}, {NAN, 58},
    };
    LkSlide strip;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.gain);
        strip.setVal(1000.0f, c.gain, 1.0f);
        if (!std::isnan(c.gain)) {
            EXPECT_FLOAT_EQ(strip.db(), c.gain);
        }
        EXPECT_EQ(gainLineRows(strip), (std::vector<int>{c.lineRow - 1, c.lineRow}));
    }
    strip.setVal(1000.0f, 13.5f, 1.0f);
    EXPECT_EQ(strip.gainBox()->text(), "13.5dB");
}

// Catches: box texts set in points or at 11 px, and a font list without a font of Tahoma's
// width before the wider fallback, with which the longest gain and frequency texts are cut.
TEST(LkSlideLook, LongestTextsFitTheirBoxesAt12Px) {
    LkSlide strip;
    const struct {
        QLineEdit* box;
        const char* text;
    } cases[] = {
        {strip.gainBox(), "-12.0dB"},
        {strip.gainBox(), "12.0dB"},
        {strip.freqBox(), "20000Hz"},
        {strip.qBox(), "15.0"},
    };
    for (const auto& c : cases) {
        const QFontInfo info(c.box->font());
        SCOPED_TRACE(std::string(c.text) + " in " + info.family().toStdString());
        EXPECT_EQ(info.pixelSize(), 12);
        c.box->setText(c.text);
        // The frame takes a pixel and the line edit keeps two more on each side.
        EXPECT_LE(QFontMetrics(c.box->font()).horizontalAdvance(c.text), c.box->width() - 6);
        EXPECT_FALSE(textScrolls(c.box));
    }
}
