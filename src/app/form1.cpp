#include "app/form1.h"

#include "app/tab_strip.h"
#include "app/window_look.h"
#include "controls/colors.h"
#include "controls/dc_button.h"
#include "controls/qt_file_dialog.h"
#include "controls/qt_prompter.h"
#include "core/messages.h"
#include "eqcurve/eq_line.h"
#include "link/qt_link_timer.h"
#include "link/serial_control.h"
#include "pages/page_base.h"
#include "pages/page_set.h"
#include "pages/page_wiring.h"
#include "pages/volume_frame.h"
#include "presets/parameter_file_handlers.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPainter>

namespace korvanex {

namespace {

static_assert(kPageCaptions.size() == Form1::kPageCount);

// The system page has no volume box beside it.
constexpr int kSystemPage = 6;

// Window geometry in logical pixels. The tabs stand in the strip above the pages; the connect
// bar shares that strip on the right.
constexpr int kMargin = 8;
constexpr int kTabTop = 4;
constexpr int kTabWidth = 100;
constexpr int kTabHeight = 28;
constexpr int kTabLabelInset = 6;
constexpr int kBarButtonWidth = 64;
constexpr int kBarHeight = 24;
constexpr int kStatusWidth = 72;
// "未连接" before the first connection, light grey on the status plate (0x00BBGGRR).
constexpr std::uint32_t kStatusIdleColour = 0xE0E0E0;
// The line along the top of the pages, continuing the tabs' own bottom edge.
const QColor kTabEdge(0x6E, 0x78, 0x88);

} // namespace

Form1::Form1(Options options, QWidget* parent) : QWidget(parent) {
    setWindowTitle(QString::fromUtf8(msg::kWindowCaption));
    applyWindowLook(*this);
    if (options.prompter != nullptr) {
        prompter_ = options.prompter;
    } else {
        ownPrompter_ = std::make_unique<QtPrompter>(this);
        prompter_ = ownPrompter_.get();
    }
    if (options.fileDialog != nullptr) {
        fileDialog_ = options.fileDialog;
    } else {
        ownFileDialog_ = std::make_unique<QtFileDialog>(this);
        fileDialog_ = ownFileDialog_.get();
    }
    quit_ = options.quit ? std::move(options.quit)
                         : std::function<void(int)>([](int code) { QCoreApplication::exit(code); });
    line_ = options.line ? std::move(options.line) : std::make_unique<link::MSComm>();

    // Creation order is the keyboard order: tabs, connect bar, then the page controls.
    buildTabs();
    buildConnectBar();
    engine_ = std::make_unique<link::LinkEngine>(
        *line_, *this, *prompter_, options.timers ? options.timers : link::qtTimerFactory(),
        options.finder ? options.finder : link::PortFinder(link::findCh341Port));
    engine_->setQuit([this](int code) { endProgram(code); });
    if (options.clock) {
        engine_->setClock(std::move(options.clock));
    } else if (!options.timers) {
        engine_->setClock(link::steadyClock());
    }
    pages_ = std::make_unique<PageSet>(this);
    placePages();
    wireLink();

    const QRect page = PageSet::pageGeometry();
    setFixedSize(page.right() + 1 + kMargin, page.bottom() + 1 + kMargin);
    Image1_Click(0);
    Form_Load();
}

Form1::~Form1() {
    // The wiring and the file handlers reach into the pages and the link: they go first.
    files_.reset();
    wiring_.reset();
}

void Form1::buildTabs() {
    for (int i = 0; i < kPageCount; ++i) {
        const QString name = QString::fromUtf8(kPageCaptions[std::size_t(i)]);
        auto* image = new TabImage(name, this);
        image->setGeometry(kMargin + i * kTabWidth, kTabTop, kTabWidth, kTabHeight);
        auto* label = new TabLabel(name, image);
        label->setGeometry(kTabLabelInset, kTabLabelInset / 2, kTabWidth - 2 * kTabLabelInset,
                           kTabHeight - kTabLabelInset / 2);
        connect(image, &TabImage::Click, this, [this, i] { Image1_Click(i); });
        connect(label, &TabLabel::Click, this, [this, i] { Label1_Click(i); });
        image1_[std::size_t(i)] = image;
        label1_[std::size_t(i)] = label;
    }
}

void Form1::buildConnectBar() {
    const int right = PageSet::pageGeometry().right() + 1;
    const int top = kTabTop + (kTabHeight - kBarHeight) / 2 - 1;
    mnulianji_ = new dcButton(QString::fromUtf8(msg::kConnect), this);
    mnutuoji_ = new dcButton(QString::fromUtf8(msg::kDisconnect), this);
    label6_ = new QLabel(this);
    label6_->setAlignment(Qt::AlignCenter);
    // A dark plate: the status colours (pure green, pure red) read poorly on the light window.
    label6_->setAutoFillBackground(true);
    QPalette plate = label6_->palette();
    plate.setColor(QPalette::Window, QColor(0x2B, 0x2F, 0x36));
    label6_->setPalette(plate);
    QFont statusFont = label6_->font();
    statusFont.setBold(true);
    label6_->setFont(statusFont);

    label6_->setGeometry(right - kStatusWidth, top, kStatusWidth, kBarHeight);
    mnutuoji_->setGeometry(right - kStatusWidth - kBarButtonWidth - 4, top, kBarButtonWidth,
                           kBarHeight);
    mnulianji_->setGeometry(right - kStatusWidth - 2 * kBarButtonWidth - 8, top, kBarButtonWidth,
                            kBarHeight);
    mnutuoji_->setEnabled(false);
    setLabel6(QString::fromUtf8(msg::kStatusIdle), kStatusIdleColour);
}

void Form1::placePages() {
    for (QWidget* page : pages_->Picture1) {
        page->setGeometry(PageSet::pageGeometry());
    }
    pages_->Frame1->setGeometry(PageSet::frameGeometry());
    // The volume box stands over the pages' right-hand side.
    pages_->Frame1->raise();
}

void Form1::wireLink() {
    connect(mnulianji_, &dcButton::Click, this, [this] { engine_->mnulianji_Click(); });
    connect(mnutuoji_, &dcButton::Click, this, [this] { engine_->mnutuoji_Click(); });
    // Before the graphs get their start bands (Form_Load), so that the strips show them too.
    wiring_ = std::make_unique<PageWiring>(*pages_, *engine_, *prompter_);
    files_ = std::make_unique<ParameterFileHandlers>(*pages_, *engine_, *prompter_, *fileDialog_);
    connect(pages_->dcButton13, &dcButton::Click, this, [this] { files_->dcButton13_Click(); });
    connect(pages_->dcButton14, &dcButton::Click, this, [this] { files_->dcButton14_Click(); });
}

// --- Tabs ---

void Form1::Image1_Click(int Index) {
    if (Index < 0 || Index >= kPageCount) {
        return;
    }
    for (int i = 0; i < kPageCount; ++i) {
        image1_[std::size_t(i)]->setSelected(false);
        pages_->Picture1[std::size_t(i)]->hide();
    }
    image1_[std::size_t(Index)]->setSelected(true);
    pages_->Picture1[std::size_t(Index)]->show();
    pages_->Frame1->setVisible(Index != kSystemPage);
    currentPage_ = Index;
}

void Form1::Label1_Click(int Index) {
    Image1_Click(Index);
}

void Form1::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect page = PageSet::pageGeometry();
    const int tabsEnd = image1_.back()->geometry().right();
    const int y = page.top() - 1;
    p.setPen(kTabEdge);
    p.drawLine(tabsEnd, y, page.right(), y);
}

// --- Load ---

void Form1::Form_Load() {
    InitEqGraphs();
}

void Form1::InitEqGraphs() {
    initPageGraphs(*pages_);
}

// --- Connect bar ---

bool Form1::mnulianjiEnabled() const {
    return mnulianji_->isEnabledTo(this);
}

void Form1::setMnulianjiEnabled(bool on) {
    mnulianji_->setEnabled(on);
}

bool Form1::mnutuojiEnabled() const {
    return mnutuoji_->isEnabledTo(this);
}

void Form1::setMnutuojiEnabled(bool on) {
    mnutuoji_->setEnabled(on);
}

void Form1::setLabel6(const QString& text, std::uint32_t colour) {
    label6Colour_ = colour;
    label6_->setText(text);
    QPalette palette = label6_->palette();
    palette.setColor(QPalette::WindowText, colorFromBgr(colour));
    label6_->setPalette(palette);
}

// --- Exit ---

bool Form1::Form_Unload() {
    if (!prompter_->askOkCancel(QString::fromUtf8(msg::kExitQuestion),
                                QString::fromUtf8(msg::kSystemTitle))) {
        return false;
    }
    engine_->closeForExit();
    return true;
}

void Form1::closeEvent(QCloseEvent* event) {
    if (ending_) {
        event->accept();
        return;
    }
    if (!Form_Unload()) {
        event->ignore();
        return;
    }
    event->accept();
    endProgram(0);
}

void Form1::endProgram(int exitCode) {
    ending_ = true;
    quit_(exitCode);
}

} // namespace korvanex
