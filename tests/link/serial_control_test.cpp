// The serial control over a pseudo-terminal: settings, open failures, flush before close and
// the device loss.

#include "core/prompter.h"
#include "link/connect_bar.h"
#include "link/fake_clock.h"
#include "link/link_engine.h"
#include "link/serial_control.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

using namespace korvanex::link;

namespace {

void runLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Pty {
    Pty() {
        char name[128] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) {
            path = QString::fromLocal8Bit(name);
            fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        }
    }
    ~Pty() {
        closeMaster();
        if (slave >= 0) {
            ::close(slave);
        }
    }
    void closeMaster() {
        if (master >= 0) {
            ::close(master);
            master = -1;
        }
    }
    QByteArray readMaster() {
        QByteArray out;
        char buf[256];
        for (;;) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0) {
                break;
            }
            out.append(buf, n);
        }
        return out;
    }
    int master = -1;
    int slave = -1;
    QString path;
};

} // namespace

// Catches a settings text accepted that the line cannot use.
TEST(SerialControl, SettingsText) {
    MSComm comm;
    EXPECT_TRUE(comm.setSettings(QStringLiteral("38400,n,8,1")));
    EXPECT_EQ(comm.Settings(), QStringLiteral("38400,n,8,1"));
    EXPECT_FALSE(comm.setSettings(QStringLiteral("38400,x,8,1")));
    EXPECT_FALSE(comm.setSettings(QStringLiteral("fast")));
    EXPECT_FALSE(comm.setSettings(QStringLiteral("38400,n,9,1")));
    EXPECT_EQ(comm.Settings(), QStringLiteral("38400,n,8,1"));
}

// Catches settings that never reach the line (a wrong baud rate, parity, data or stop bits):
// read back from the terminal itself.
TEST(SerialControl, SettingsReachTheLine) {
    struct Case {
        const char* settings;
        speed_t speed;
        tcflag_t size;
        bool parity, twoStops;
    };
    const Case cases[] = {
        {"38400,n,8,1", B38400, CS8, false, false},
        {"9600,n,8,2", B9600, CS8, false, true}, // a pseudo-terminal keeps 8 bits, no parity
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        Pty pty;
        ASSERT_FALSE(pty.path.isEmpty());
        MSComm comm;
        ASSERT_TRUE(comm.setSettings(QString::fromLatin1(c.settings)));
        comm.setCommPort(pty.path);
        ASSERT_EQ(comm.Open(), SerialLine::OpenResult::Opened);
        termios t{};
        ASSERT_EQ(tcgetattr(pty.slave, &t), 0);
        EXPECT_EQ(cfgetispeed(&t), c.speed);
        EXPECT_EQ(cfgetospeed(&t), c.speed);
        EXPECT_EQ(t.c_cflag & CSIZE, c.size);
        EXPECT_EQ((t.c_cflag & PARENB) != 0, c.parity);
        EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStops);
        EXPECT_EQ(t.c_cflag & CRTSCTS, 0u) << "no hardware flow control";
    }
}

// Catches bytes the line held before the program opened it taken for the first reply: the
// connect click empties the buffers once the port is open.
TEST(SerialControl, BytesHeldBeforeTheOpenAreDropped) {
    Pty pty;
    ASSERT_FALSE(pty.path.isEmpty());
    ASSERT_EQ(::write(pty.master, "\x35\x82\x01", 3), 3);
    runLoop(20);
    FakeClock clock;
    MSComm comm;
    MemoryConnectBar bar;
    korvanex::RecordingPrompter prompter;
    LinkEngine engine(comm, bar, prompter, clock.factory(), [&] { return pty.path; });
    engine.mnulianji_Click();
    ASSERT_TRUE(comm.PortOpen());
    runLoop(50);
    EXPECT_TRUE(engine.listening()) << "no reply was begun";
    EXPECT_EQ(comm.InBufferCount(), 0);
}

// Catches an open failure reported as success, or reads and writes on a closed port.
TEST(SerialControl, MissingPortCannotOpen) {
    MSComm comm;
    comm.setCommPort(QStringLiteral("/dev/korvanex-no-such-port"));
    EXPECT_EQ(comm.Open(), SerialLine::OpenResult::CannotOpen);
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_FALSE(comm.errorText().isEmpty());
    EXPECT_FALSE(comm.Output(QByteArray("x")));
    EXPECT_TRUE(comm.Input().isEmpty());
}

// Catches a frame written just before closing being lost, and received bytes not raising the
// receive event.
TEST(SerialControl, WritesReachThePeerAndRepliesRaiseTheEvent) {
    Pty pty;
    ASSERT_FALSE(pty.path.isEmpty());
    MSComm comm;
    comm.setSettings(QStringLiteral("38400,n,8,1"));
    comm.setCommPort(pty.path);
    ASSERT_EQ(comm.Open(), SerialLine::OpenResult::Opened);
    QByteArray received;
    comm.OnComm = [&] { received += comm.Input(); };
    ASSERT_EQ(::write(pty.master, "\x52\x3A", 2), 2);
    runLoop(50);
    EXPECT_EQ(received, QByteArray("\x52\x3A"));

    EXPECT_TRUE(comm.Output(QByteArray::fromHex("A56733313130020100")));
    comm.Close();
    EXPECT_FALSE(comm.PortOpen());
    runLoop(20);
    EXPECT_EQ(pty.readMaster(), QByteArray::fromHex("A56733313130020100"));
}

// Catches an unplug that leaves the port "open" and spinning on errors, or reports the loss
// more than once.
TEST(SerialControl, VanishedDeviceIsClosedAndReportedOnce) {
    Pty pty;
    ASSERT_FALSE(pty.path.isEmpty());
    MSComm comm;
    comm.setSettings(QStringLiteral("38400,n,8,1"));
    comm.setCommPort(pty.path);
    ASSERT_EQ(comm.Open(), SerialLine::OpenResult::Opened);
    int losses = 0;
    int events = 0;
    comm.OnDeviceLost = [&] { ++losses; };
    comm.OnComm = [&] {
        ++events;
        comm.Input();
    };
    pty.closeMaster();
    runLoop(200);
    EXPECT_EQ(losses, 1);
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_FALSE(comm.Output(QByteArray("\x3F")));
    EXPECT_LT(events, 10);
}
