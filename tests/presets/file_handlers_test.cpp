// The save and load buttons, offscreen, with a scripted file dialog and recorded boxes.

#include "controls/ct_slide.h"
#include "core/messages.h"
#include "eqcurve/eq_line.h"
#include "link/full_state_frame.h"
#include "pages/eq_panel.h"
#include "pages/page_values_reader.h"
#include "preset_fixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace korvanex;
using namespace korvanex::preset_test;

namespace {

enum class Button { Save, Load };

void click(PresetRig& rig, Button button) {
    if (button == Button::Save) {
        rig.files->dcButton13_Click();
    } else {
        rig.files->dcButton14_Click();
    }
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Every path under `root`, hidden ones included.
QStringList tree(const QString& root) {
    QStringList paths;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        paths << it.next();
    }
    paths.sort();
    return paths;
}

void expectOneBox(const RecordingPrompter& prompter, const char* text, const char* title,
                  BoxIcon icon) {
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, msg::text(text));
    EXPECT_EQ(prompter.boxes[0].title, msg::text(title));
    EXPECT_EQ(prompter.boxes[0].icon, icon);
}

// What the link holds that a refused or cancelled load must not change.
struct LinkState {
    bool DeviceReady;
    int PendingStep;
    bool timer2;
    bool timer3;
    bool operator==(const LinkState&) const = default;
};
LinkState linkState(const PresetRig& rig) {
    return {rig.engine->DeviceReady, rig.engine->PendingStep, rig.engine->Timer2().Enabled(),
            rig.engine->Timer3().Enabled()};
}

// A file-size limit for this process, with the signal that would end it ignored; both put
// back when the scope ends.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace

// Catches: a button that opens the dialog, or does anything, while the link is down.
TEST(FileHandlers, LinkDownRefusesWithoutADialog) {
    for (Button button : {Button::Save, Button::Load}) {
        PresetRig rig;
        rig.engine->DeviceReady = true;
        const PageSnapshot before = snapshot(*rig.pages);
        rig.dialog.answers = {QStringLiteral("/tmp/never.ktv")};
        click(rig, button);
        EXPECT_TRUE(rig.dialog.shown.empty());
        expectOneBox(rig.prompter, msg::kOnlineOnly, msg::kSystemTitle, BoxIcon::Critical);
        EXPECT_TRUE(snapshot(*rig.pages) == before);
        EXPECT_TRUE(rig.engine->DeviceReady);
    }
}

// Catches: a cancelled or empty choice that still writes, loads, shows a box or clears the
// unit's readiness.
TEST(FileHandlers, CancelDoesNothing) {
    for (Button button : {Button::Save, Button::Load}) {
        for (const std::optional<QString>& answer : {std::optional<QString>(), {QString()}}) {
            PresetRig rig;
            rig.setLinkUp(true);
            rig.engine->DeviceReady = true;
            const PageSnapshot before = snapshot(*rig.pages);
            const LinkState link = linkState(rig);
            rig.dialog.answers = {answer};
            click(rig, button);
            EXPECT_EQ(rig.dialog.shown.size(), 1u);
            EXPECT_TRUE(rig.prompter.boxes.empty());
            EXPECT_TRUE(snapshot(*rig.pages) == before);
            EXPECT_TRUE(linkState(rig) == link);
        }
    }
}

// Catches: a save that adds a suffix, leaves old bytes behind, sends anything to the unit,
// or shows the wrong dialog; and two dialogs that do not share the last name.
TEST(FileHandlers, SaveWritesThePagesAsTyped) {
    QTemporaryDir dir;
    PresetRig rig;
    rig.setLinkUp(true);
    setE1Pages(*rig.pages);
    const QString path = dir.filePath(QStringLiteral("x"));
    writeFile(path, QByteArray(2000, 'o'));
    rig.dialog.answers = {path, std::nullopt};
    rig.files->dcButton13_Click();

    EXPECT_EQ(readFile(path), goldenFile("e1.ktv"));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".ktv")));
    expectOneBox(rig.prompter, msg::kSavedToPc, msg::kSystemTitle, BoxIcon::Information);
    ASSERT_EQ(rig.dialog.shown.size(), 1u);
    EXPECT_TRUE(rig.dialog.shown[0].save);
    EXPECT_EQ(rig.dialog.shown[0].title, QStringLiteral("保存在电脑"));
    EXPECT_EQ(rig.dialog.shown[0].filter, QStringLiteral("KTV文件(*.ktv)|*.ktv"));
    EXPECT_TRUE(rig.line.writes.empty());
    EXPECT_EQ(rig.engine->PendingStep, 0);

    rig.files->dcButton14_Click();
    ASSERT_EQ(rig.dialog.shown.size(), 2u);
    EXPECT_FALSE(rig.dialog.shown[1].save);
    EXPECT_EQ(rig.dialog.shown[1].title, QStringLiteral("从电脑中调用"));
    EXPECT_EQ(rig.dialog.shown[1].offered, path);
    EXPECT_EQ(rig.engine->PendingStep, 0); // that one was cancelled
}

// Catches: band lines that ignore a comma locale, or a comma in slider and field lines.
TEST(FileHandlers, SaveUsesTheUsersCommaInBandLinesOnly) {
    QTemporaryDir dir;
    PresetRig rig;
    rig.setLinkUp(true);
    setE1Pages(*rig.pages);
    const QString path = dir.filePath(QStringLiteral("comma.ktv"));
    rig.dialog.answers = {path};
    const QLocale old;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    rig.files->dcButton13_Click();
    QLocale::setDefault(old);
    EXPECT_EQ(readFile(path), ktv::write(e1Record(), ktv::DecimalPoint::Comma));
}

// Catches: a failed save reported as success, one that truncates or replaces the old file
// (a write cut short by a file-size limit, which holds for root too), or one that creates
// anything: a missing folder, a temporary file left behind.
TEST(FileHandlers, FailedSaveSaysSoAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("old.ktv"));
    const QByteArray oldBytes = "Selvard\r\nthe old file\r\n";
    writeFile(existing, oldBytes);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    struct Case {
        const char* name;
        QString path;
        rlim_t limit; // 0: none
    };
    const Case cases[] = {
        {"missing folder", dir.filePath(QStringLiteral("no/such/x.ktv")), 0},
        {"a folder", dir.filePath(QStringLiteral("folder")), 0},
        {"size limit", existing, 500},
        {"one byte allowed", existing, 1},
    };
    const QStringList before = tree(dir.path());
    for (const Case& c : cases) {
        PresetRig rig;
        rig.setLinkUp(true);
        rig.dialog.answers = {c.path};
        if (c.limit != 0) {
            const FileSizeLimit limit(c.limit);
            rig.files->dcButton13_Click();
        } else {
            rig.files->dcButton13_Click();
        }
        expectOneBox(rig.prompter, msg::kSaveFailed, msg::kSystemTitle, BoxIcon::Critical);
        EXPECT_EQ(tree(dir.path()), before) << c.name;
        if (c.path == existing) {
            EXPECT_EQ(readFile(existing), oldBytes) << c.name;
        }
    }
}

// Catches: a load that misses a control, leaves the unit ready during the bands (each band
// echo would queue a band request), does not queue the whole-set download, or refuses a
// symbolic link to a file.
TEST(FileHandlers, LoadSetsThePagesAndQueuesTheDownload) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("e1.ktv"));
    writeFile(file, goldenFile("e1.ktv"));
    const QString symlink = dir.filePath(QStringLiteral("link.ktv"));
    ASSERT_TRUE(QFile::link(file, symlink));
    for (const QString& path : {file, symlink}) {
        PresetRig rig;
        rig.setLinkUp(true);
        scramble(*rig.pages);
        rig.engine->DeviceReady = true;
        int echoesWhileReady = 0;
        int echoes = 0;
        for (int n = 1; n <= 7; ++n) {
            QObject::connect(rig.pages->eq(n).graph, &EQline::PEQOUT, [&] {
                ++echoes;
                echoesWhileReady += rig.engine->DeviceReady ? 1 : 0;
            });
        }
        rig.dialog.answers = {path};
        rig.files->dcButton14_Click();

        expectE1Pages(*rig.pages);
        EXPECT_TRUE(rig.prompter.boxes.empty());
        EXPECT_EQ(echoes, 42);
        EXPECT_EQ(echoesWhileReady, 0);
        EXPECT_FALSE(rig.engine->DeviceReady);
        EXPECT_EQ(rig.engine->PendingStep, 53);
        EXPECT_TRUE(rig.engine->Timer3().Enabled());
        EXPECT_FALSE(rig.engine->Timer2().Enabled());
    }
}

// Catches: a save that writes an effect program the unit sent (its effect block allows any
// byte) into a file its own load refuses, or a load that changes that byte on its way to the
// whole-set download.
TEST(FileHandlers, TheUnitsEffectProgramSavesAndLoadsAgain) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("program.ktv"));
    for (int program : {8, 255}) {
        PresetRig rig;
        rig.setLinkUp(true);
        rig.pages->state.EffectProgram = std::int16_t(program);
        rig.dialog.answers = {path, path};
        rig.files->dcButton13_Click();
        rig.pages->state.EffectProgram = 0;
        rig.files->dcButton14_Click();
        expectOneBox(rig.prompter, msg::kSavedToPc, msg::kSystemTitle, BoxIcon::Information);
        EXPECT_EQ(rig.pages->state.EffectProgram, program);
        EXPECT_EQ(rig.engine->PendingStep, 53);
        const QByteArray download = link::fullStateFrame(readPageValues(*rig.pages));
        EXPECT_EQ(std::uint8_t(download.back()), program);
    }
}

// Catches: a download queued after the link ended under the dialog, or a sender left running.
TEST(FileHandlers, LinkLostUnderTheDialogSendsNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("e1.ktv"));
    writeFile(path, goldenFile("e1.ktv"));
    PresetRig rig;
    rig.setLinkUp(true);
    rig.engine->DeviceReady = true;
    rig.engine->store({.step = 35, .StepValue = 1});
    ASSERT_TRUE(rig.engine->Timer3().Enabled());
    rig.dialog.onShow = [&](const ScriptedFileDialog::Shown&) { rig.setLinkUp(false); };
    rig.dialog.answers = {path};
    rig.files->dcButton14_Click();

    expectE1Pages(*rig.pages);
    EXPECT_FALSE(rig.engine->DeviceReady);
    EXPECT_EQ(rig.engine->PendingStep, 35);
    EXPECT_FALSE(rig.engine->Timer3().Enabled());
}

// Catches: a bad file applied part-way, one that clears the unit's readiness or queues the
// download, or the wrong box for it.
TEST(FileHandlers, RefusedFileChangesNothing) {
    QTemporaryDir dir;
    const QByteArray golden = goldenFile("e1.ktv");
    QByteArray lfOnly = golden;
    lfOnly.replace("\r\n", "\n");
    QByteArray lateBadBand = golden;
    lateBadBand.replace("\r\n12\r\n0.5\r\n31.5\r\n", "\r\n12\r\n0.5\r\nabc\r\n");
    QByteArray badField = golden;
    badField.replace("\r\n5\r\n12\r\n", "\r\n256\r\n12\r\n"); // line 138
    const QByteArray cut = golden.left(600);
    const QByteArray huge = golden + QByteArray(70 * 1024, ' ');
    const QByteArray files[] = {
        "selvard" + golden.mid(7), lfOnly, lateBadBand, badField, cut, huge};
    ASSERT_NE(lateBadBand, golden);
    ASSERT_NE(badField, golden);
    for (bool ready : {true, false}) {
        for (const QByteArray& bytes : files) {
            const QString path = dir.filePath(QStringLiteral("bad.ktv"));
            writeFile(path, bytes);
            PresetRig rig;
            rig.setLinkUp(true);
            scramble(*rig.pages);
            rig.engine->DeviceReady = ready;
            const PageSnapshot before = snapshot(*rig.pages);
            const LinkState link = linkState(rig);
            rig.dialog.answers = {path};
            rig.files->dcButton14_Click();
            expectOneBox(rig.prompter, msg::kBadFile, msg::kWindowCaption, BoxIcon::Critical);
            EXPECT_TRUE(snapshot(*rig.pages) == before) << bytes.left(40).toStdString();
            EXPECT_TRUE(linkState(rig) == link) << bytes.left(40).toStdString();
        }
    }
}

// Catches: a size limit one byte off, or a file read short so that its last line is lost.
TEST(FileHandlers, LoadTakesAFileOfExactlyTheLimit) {
    QTemporaryDir dir;
    QByteArray bytes = goldenFile("e1.ktv");
    bytes.chop(2); // the last line without its CR LF
    // Blanks after the "1.75V" read-out bring the file to the limit.
    bytes.insert(bytes.indexOf("1.75V") + 5, QByteArray(ktv::kMaxFileBytes - bytes.size(), ' '));
    ASSERT_EQ(bytes.size(), ktv::kMaxFileBytes);
    for (const QByteArray& file : {bytes, bytes + "\r"}) {
        const QString path = dir.filePath(QStringLiteral("limit.ktv"));
        writeFile(path, file);
        PresetRig rig;
        rig.setLinkUp(true);
        rig.dialog.answers = {path};
        rig.files->dcButton14_Click();
        if (file.size() == ktv::kMaxFileBytes) {
            EXPECT_TRUE(rig.prompter.boxes.empty());
            EXPECT_EQ(rig.pages->ctSlide21->Value(), 3); // the last line
            EXPECT_EQ(rig.engine->PendingStep, 53);
        } else {
            expectOneBox(rig.prompter, msg::kBadFile, msg::kWindowCaption, BoxIcon::Critical);
        }
    }
}

// Catches: an unreadable choice that passes silently, shows the format message, or clears
// the unit's readiness: one that cannot be opened, one that opens but cannot be read (the
// process's own memory file fails at address 0), and what is not a file: devices, which
// read as endless or empty, and a named pipe, on which opening waits for a writer for good.
TEST(FileHandlers, UnreadableFileSaysSoAndChangesNothing) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe.ktv"));
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    // A load waiting in open() for the pipe's writer gets one after 2 s, and fails its checks
    // instead of hanging.
    std::thread([fifo = pipe.toLocal8Bit()] {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            ::close(fd);
        }
    }).detach();
    for (const QString& path :
         {dir.filePath(QStringLiteral("missing.ktv")), dir.path(), QStringLiteral("/proc/self/mem"),
          QStringLiteral("/dev/zero"), QStringLiteral("/dev/null"), pipe}) {
        PresetRig rig;
        rig.setLinkUp(true);
        rig.engine->DeviceReady = true;
        const PageSnapshot before = snapshot(*rig.pages);
        rig.dialog.answers = {path};
        rig.files->dcButton14_Click();
        expectOneBox(rig.prompter, msg::kFileOpenFailed, msg::kSystemTitle, BoxIcon::Critical);
        EXPECT_TRUE(snapshot(*rig.pages) == before) << path.toStdString();
        EXPECT_TRUE(rig.engine->DeviceReady);
        EXPECT_EQ(rig.engine->PendingStep, 0);
    }
}

// Catches: a second save or load started under the first one's dialog or message box.
TEST(FileHandlers, ClicksWhileOneRunsAreIgnored) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.ktv"));
    PresetRig rig;
    rig.setLinkUp(true);
    const auto clickBoth = [&] {
        EXPECT_TRUE(rig.files->busy());
        rig.files->dcButton13_Click();
        rig.files->dcButton14_Click();
    };
    rig.dialog.onShow = [&](const ScriptedFileDialog::Shown&) { clickBoth(); };
    rig.prompter.onBox = [&](const RecordingPrompter::Box&) { clickBoth(); };
    rig.dialog.answers = {path, path};
    rig.files->dcButton13_Click(); // saves, then its box
    rig.files->dcButton14_Click(); // loads; no box
    EXPECT_EQ(rig.dialog.shown.size(), 2u);
    EXPECT_EQ(rig.prompter.boxes.size(), 1u);
    EXPECT_FALSE(rig.files->busy());
    EXPECT_EQ(rig.engine->PendingStep, 53);
}
