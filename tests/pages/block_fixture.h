#pragma once
// The pages with a link behind them, headless: a fake serial line, a fake clock, a remembering
// connect bar and the recording prompter; the appliers and the strip-graph coupling wired as
// the window wires them, and every graph given its band count as at start.

#include "core/prompter.h"
#include "link/connect_bar.h"
#include "link/fake_clock.h"
#include "link/link_engine.h"
#include "link/serial_line.h"
#include "pages/eq_coupling.h"
#include "pages/page_appliers.h"
#include "pages/page_set.h"

#include <QWidget>
#include <memory>
#include <utility>

namespace korvanex::block_samples {

// A port that opens and takes every write; a test plays the unit's replies into it.
class QuietLine : public link::SerialLine {
public:
    bool setSettings(const QString& s) override {
        settings = s;
        return true;
    }
    QString Settings() const override { return settings; }
    void setCommPort(const QString& p) override { port = p; }
    QString CommPort() const override { return port; }
    OpenResult Open() override {
        open = true;
        return OpenResult::Opened;
    }
    void Close() override { open = false; }
    bool PortOpen() const override { return open; }
    QString errorText() const override { return {}; }
    bool Output(const QByteArray& bytes) override {
        written += bytes;
        return open;
    }
    QByteArray Input() override { return std::exchange(incoming, {}); }
    int InBufferCount() const override { return int(incoming.size()); }
    int OutBufferCount() const override { return 0; }
    void ClearInBuffer() override { incoming.clear(); }
    void ClearOutBuffer() override {}
    void Flush() override {}

    // The unit's reply arrives: the receive event runs at once.
    void receive(const QByteArray& bytes) {
        incoming += bytes;
        if (OnComm) {
            OnComm();
        }
    }

    bool open = false;
    QByteArray incoming;
    QString settings;
    QString port;
    QByteArray written;
};

struct LinkedPages {
    LinkedPages();
    ~LinkedPages();

    // The link-up test holds: port open and the connect button disabled.
    void setLinkUp(bool up);
    // Stores the sample blocks and runs all five appliers in connection order.
    void applyAll();
    // A whole connection through the link: probe, handshake and the five sample blocks,
    // answered as the unit answers.
    void connectWithSamples();

    QWidget window;
    QuietLine line;
    link::MemoryConnectBar bar;
    RecordingPrompter prompter;
    link::FakeClock clock;
    std::unique_ptr<link::LinkEngine> engine;
    std::unique_ptr<PageSet> pages;
    std::unique_ptr<PageAppliers> appliers;
    std::unique_ptr<EqCoupling> coupling;
};

} // namespace korvanex::block_samples
