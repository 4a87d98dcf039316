#pragma once
// The main window: the tab strip over the eight parameter pages, the volume box, the connect
// bar (connect, disconnect, link status) and the device link behind it. Closing it asks first
// and, with the port open, tells the unit that the program ends.

#include "app/eq_graph_init.h"
#include "core/file_dialog.h"
#include "core/prompter.h"
#include "link/connect_bar.h"
#include "link/link_engine.h"
#include "link/link_timer.h"
#include "link/monotonic_clock.h"
#include "link/port_finder.h"
#include "link/serial_line.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QLabel;

namespace korvanex {

class dcButton;
class PageSet;
class PageWiring;
class ParameterFileHandlers;
class TabImage;
class TabLabel;

class Form1 : public QWidget, public link::ConnectBar {
    Q_OBJECT
public:
    struct Options {
        // Where the bridge is; the CH341 finder over the system's serial ports by default.
        link::PortFinder finder = link::findCh341Port;
        // Message boxes; null shows real ones over this window.
        Prompter* prompter = nullptr;
        // The parameter files' dialogs; null shows real ones over this window.
        FileDialog* fileDialog = nullptr;
        // Ends the program with an exit status; null calls QCoreApplication::exit.
        std::function<void(int)> quit;
        // The serial line; null uses the serial control over QSerialPort.
        std::unique_ptr<link::SerialLine> line;
        // The link's timers; null uses Qt timers.
        link::TimerFactory timers;
        // The clock those timers run on, for the link's wire time. Null: the steady clock
        // beside Qt timers; beside injected timers none, and the wire counts as always free.
        link::MonotonicClock clock;
    };

    static constexpr int kPageCount = 8;

    explicit Form1(Options options, QWidget* parent = nullptr);
    ~Form1() override;

    link::LinkEngine& engine() { return *engine_; }
    PageSet& pageSet() { return *pages_; }
    Prompter& prompter() { return *prompter_; }
    ParameterFileHandlers& parameterFiles() { return *files_; }

    // The connect bar.
    dcButton* mnulianji() const { return mnulianji_; }
    dcButton* mnutuoji() const { return mnutuoji_; }
    QLabel* Label6() const { return label6_; }
    // Label6's text colour, 0x00BBGGRR.
    std::uint32_t Label6ForeColor() const { return label6Colour_; }

    // The tab strip and the page shown.
    TabImage* Image1(int index) const { return image1_.at(std::size_t(index)); }
    TabLabel* Label1(int index) const { return label1_.at(std::size_t(index)); }
    int currentPage() const { return currentPage_; }

    // Tab clicks; a click on a tab's caption does what a click on the tab does.
    void Image1_Click(int Index);
    void Label1_Click(int Index);

    // ConnectBar, as the link reads and sets it.
    bool mnulianjiEnabled() const override;
    void setMnulianjiEnabled(bool on) override;
    bool mnutuojiEnabled() const override;
    void setMnutuojiEnabled(bool on) override;
    void setLabel6(const QString& text, std::uint32_t colour) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildConnectBar();
    void buildTabs();
    void placePages();
    void wireLink();
    void Form_Load();
    void InitEqGraphs();
    // False when the user cancels the exit question.
    bool Form_Unload();
    void endProgram(int exitCode);

    std::unique_ptr<Prompter> ownPrompter_;
    Prompter* prompter_ = nullptr;
    std::unique_ptr<FileDialog> ownFileDialog_;
    FileDialog* fileDialog_ = nullptr;
    std::function<void(int)> quit_;
    std::unique_ptr<link::SerialLine> line_;

    dcButton* mnulianji_ = nullptr;
    dcButton* mnutuoji_ = nullptr;
    QLabel* label6_ = nullptr;
    std::uint32_t label6Colour_ = 0;
    std::array<TabImage*, kPageCount> image1_{};
    std::array<TabLabel*, kPageCount> label1_{};
    int currentPage_ = 0;

    std::unique_ptr<link::LinkEngine> engine_;
    std::unique_ptr<PageSet> pages_;
    std::unique_ptr<PageWiring> wiring_;
    std::unique_ptr<ParameterFileHandlers> files_;
    // Set once the program is ending, so that the closing window asks nothing more.
    bool ending_ = false;
};

} // namespace korvanex
