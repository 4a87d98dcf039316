#include "frame_helpers.h"
#include "sim/pty_unit.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace korvanex::sim;
using namespace korvanex::sim::testing;

namespace {

// The program's end of the line, opened as the program opens it.
struct ProgramEnd {
    explicit ProgramEnd(const QString& path) {
        port.setPortName(path);
        opened = port.open(QIODevice::ReadWrite);
        port.setBaudRate(38400);
        // Collected as they come, so that each arrival keeps its own time.
        QObject::connect(&port, &QSerialPort::readyRead, &port, [this] {
            const QByteArray got = port.readAll();
            received += got;
            arrivals.push_back({sinceWrite.elapsed(), got.size()});
        });
    }
    // Runs the event loop (the unit shares it) until `count` bytes have come or `ms` passed.
    QByteArray readFor(int count, int ms) {
        QElapsedTimer clock;
        clock.start();
        while (received.size() < count && clock.elapsed() < ms) {
            QSignalSpy spy(&port, &QSerialPort::readyRead);
            spy.wait(static_cast<int>(std::max<qint64>(1, ms - clock.elapsed())));
        }
        return received;
    }
    void write(const QByteArray& bytes) {
        received.clear();
        arrivals.clear();
        sinceWrite.start();
        port.write(bytes);
        port.flush();
    }

    QSerialPort port;
    bool opened = false;
    QByteArray received;
    std::vector<std::pair<qint64, qsizetype>> arrivals; // ms after the write, bytes
    QElapsedTimer sinceWrite;
};

} // namespace

// Catches: a pseudo-terminal the program's serial control cannot open, or bytes echoed or
// lost between the two ends.
TEST(PtyUnit, AnswersOverThePseudoTerminal) {
    PtyUnit unit;
    ASSERT_TRUE(unit.isPluggedIn()) << unit.errorString().toStdString();
    ProgramEnd pc(unit.portPath());
    ASSERT_TRUE(pc.opened) << pc.port.errorString().toStdString();
    QSignalSpy requests(&unit, &PtyUnit::requestReceived);

    pc.write(bytes({0x3F}));
    EXPECT_EQ(pc.readFor(2, 2000), bytes({0x52, 0x3A}));
    pc.write(blockReadFrame(0, 0, 1));
    const QByteArray block = pc.readFor(88, 2000);
    EXPECT_EQ(block, UnitPeer::blockReply(1, unit.peer().model().block(1)));
    EXPECT_EQ(requests.size(), 2);
    EXPECT_EQ(unit.sent().size(), 90);
}

// Catches: line pacing that lets an answer arrive faster than the wire could carry it, or
// split gaps that are not kept.
TEST(PtyUnit, PacingAndGapsHoldOnTheLine) {
    PtyUnit unit;
    ProgramEnd pc(unit.portPath());
    ASSERT_TRUE(pc.opened);
    unit.setLine({PtyUnit::kLineRateUsPerByte, 2});
    pc.write(blockReadFrame(0, 0, 1));
    pc.readFor(88, 2000);
    ASSERT_EQ(pc.received.size(), 88);
    // 12 bytes in, 2 ms latency, 88 bytes out at 260 us each: at least 28 ms.
    EXPECT_GE(pc.arrivals.back().first, 27);
    EXPECT_GT(pc.arrivals.size(), 2u) << "the block trickles in, it does not come in one piece";

    unit.setLine({});
    Fault f;
    f.when.kind = RequestKind::Link;
    f.chunkSizes = {2};
    f.chunkGapMs = 120;
    unit.peer().faults().add(f);
    pc.write(linkFrame(0x7F));
    pc.readFor(4, 2000);
    EXPECT_EQ(pc.received, bytes({0x35, 0x82, 0x01, 0x7F}));
    ASSERT_GE(pc.arrivals.size(), 2u);
    EXPECT_LT(pc.arrivals.front().first, 60);
    EXPECT_GE(pc.arrivals.back().first - pc.arrivals.front().first, 100);
}

// Catches: an unplug the program's side never notices, or a unit that cannot be plugged in
// again.
TEST(PtyUnit, UnplugEndsTheLineAndPlugInGivesANewOne) {
    PtyUnit unit;
    auto pc = std::make_unique<ProgramEnd>(unit.portPath());
    ASSERT_TRUE(pc->opened);
    QSignalSpy errors(&pc->port, &QSerialPort::errorOccurred);
    unit.unplug();
    EXPECT_FALSE(unit.isPluggedIn());
    QTest::qWait(200);
    EXPECT_TRUE(errors.size() > 0 || pc->port.error() != QSerialPort::NoError)
        << "the program's port learns that its device is gone";
    pc.reset();

    ASSERT_TRUE(unit.plugIn());
    ProgramEnd again(unit.portPath());
    ASSERT_TRUE(again.opened);
    again.write(bytes({0x3F}));
    EXPECT_EQ(again.readFor(2, 2000), bytes({0x52, 0x3A}));
}

// Catches: an answer meant for a port the program has closed waiting in the line and reaching
// the program's next session as a stale reply.
TEST(PtyUnit, NoStaleAnswerAfterTheProgramReopens) {
    PtyUnit unit;
    unit.setLine({0, 20}); // the answer would leave 20 ms after the request
    {
        ProgramEnd pc(unit.portPath());
        ASSERT_TRUE(pc.opened);
        pc.write(bytes({0x3F}));
    } // closed at once
    QTest::qWait(80);
    EXPECT_EQ(unit.peer().countOf(RequestKind::Probe), 1) << "the unit heard the probe";
    ProgramEnd again(unit.portPath());
    ASSERT_TRUE(again.opened);
    EXPECT_TRUE(again.readFor(2, 150).isEmpty()) << "its answer went nowhere";
    again.write(bytes({0x3F}));
    EXPECT_EQ(again.readFor(2, 1000), bytes({0x52, 0x3A}));
}
