#include "pages/block_fixture.h"

#include "eqcurve/eq_line.h"
#include "pages/block_samples.h"
#include "pages/eq_panel.h"

#include <vector>

namespace korvanex::block_samples {

LinkedPages::LinkedPages()
    : engine(std::make_unique<link::LinkEngine>(line, bar, prompter, clock.factory(),
                                                [] { return QStringLiteral("ttyFAKE0"); })),
      pages(std::make_unique<PageSet>(&window)),
      wiring(std::make_unique<PageWiring>(*pages, *engine, prompter)), appliers(wiring->appliers),
      coupling(wiring->coupling) {
    for (int n = 1; n <= 7; ++n) {
        EqPanel& panel = pages->eq(n);
        panel.graph->setEQnum(int(panel.strips.size()) - 1);
    }
}

LinkedPages::~LinkedPages() {
    wiring.reset();
}

void LinkedPages::setLinkUp(bool up) {
    line.open = up;
    bar.connectEnabled = !up;
}

void LinkedPages::applyAll() {
    engine->Blocks = sampleBlocks();
    appliers->Music_Data();
    appliers->Mic_Data();
    appliers->EFF_Data();
    appliers->MicB_Data();
    appliers->set_Data();
}

void LinkedPages::connectWithSamples() {
    const auto hex = [](const char* h) { return QByteArray::fromHex(h); };
    engine->mnulianji_Click();
    clock.advance(20); // probe
    line.receive(hex("523A"));
    clock.advance(20); // connect command
    line.receive(hex("3582017F"));
    const std::vector<int> blocks[5] = {musicBytes(), micABytes(), effectBytes(), micBBytes(),
                                        systemBytes()};
    for (int n = 1; n <= 5; ++n) {
        clock.advance(20); // block read request
        QByteArray reply;
        reply.append(char(0x10));
        reply.append(char(n));
        for (int b : blocks[n - 1]) {
            reply.append(char(b));
        }
        line.receive(reply);
    }
    clock.advance(100);
}

} // namespace korvanex::block_samples
