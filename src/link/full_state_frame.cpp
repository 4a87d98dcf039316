#include "link/full_state_frame.h"

#include "core/numbers.h"
#include "link/frames.h"
#include "link/request_frames.h"

#include <span>

namespace korvanex::link {

namespace {

constexpr std::uint8_t kWholeSetGroup = 0x13;

// Fills the frame from position 8 on, in order.
class FrameWriter {
public:
    explicit FrameWriter(QByteArray& frame) : frame_(frame) {}

    void put(std::uint8_t byte) { frame_[pos_++] = static_cast<char>(byte); }
    void value(int v) { put(valueByte(v)); }
    void pair(BytePair p) {
        put(p.hi);
        put(p.lo);
    }
    // An equaliser as the blocks hold it: every gain, then every Q, then the frequency pairs.
    void section(std::span<const StripBand> bands) {
        for (const StripBand& b : bands) {
            put(directGainByte(b.db));
        }
        for (const StripBand& b : bands) {
            put(directQByte(b.Q));
        }
        for (const StripBand& b : bands) {
            pair(freqPair(b.F));
        }
    }
    template <std::size_t N> void values(const std::array<int, N>& sliders) {
        for (const int v : sliders) {
            value(v);
        }
    }
    int position() const { return pos_; }

private:
    QByteArray& frame_;
    int pos_ = 8;
};

// Microphone A and B share one layout.
void micBlock(FrameWriter& w, std::span<const StripBand> strips, int lowCut, int highGain) {
    w.section(strips);
    w.value(lowCut);
    w.value(highGain);
}

} // namespace

QByteArray fullStateFrame(const PageValues& p) {
    QByteArray frame(kFullStateFrameSize, '\0');
    for (int i = 0; i < 6; ++i) {
        frame[i] = static_cast<char>(kFrameHead[i]);
    }
    frame[6] = static_cast<char>(kFullStateFrameSize - 7);
    frame[7] = static_cast<char>(kWholeSetGroup);
    FrameWriter w(frame);

    // Music block 0..85: music, main output, centre and subwoofer.
    w.section(p.LkSlide1);
    w.value(p.ctSlide19);
    w.value(p.ctSlide9);
    w.section(p.LkSlide4);
    w.values(p.ctSlide10);
    w.value(p.CenterEffectOn);
    w.section(p.LkSlide5);
    w.value(p.ctSlide12[0]);
    w.value(p.ctSlide12[1]);
    w.section(p.LkSlide6);
    // The bass volume with the microphones closed comes first.
    w.value(p.ctSlide12[3]);
    w.value(p.ctSlide12[2]);
    w.value(p.SubPhase);

    micBlock(w, p.LkSlide2, p.ctSlide11, p.ctSlide8);

    // Effect block 1..40; its byte 0 (the program) goes last.
    w.section(p.LkSlide3);
    w.values(p.ctSlide6);
    w.put(0); // effect bytes 21 and 22 are unused
    w.put(0);
    w.values(p.ctSlide7);
    w.pair(wordBytes(p.ctSlide4));
    w.pair(kHzPair(p.Text6));
    w.pair(wordBytes(p.ctSlide2));
    w.pair(kHzPair(p.Text3));

    micBlock(w, p.LkSlide7, p.ctSlide20, p.ctSlide21);

    w.value(p.ctSlide1[2]);
    w.value(p.EffectProgram);
    Q_ASSERT(w.position() == kFullStateFrameSize);
    return frame;
}

} // namespace korvanex::link
