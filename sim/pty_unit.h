#pragma once
// The simulated unit on a pseudo-terminal. The program opens portPath() with its real serial
// control; the unit reads and writes the other end from the event loop (a socket notifier for
// arrivals, one precise timer for its timed answers), so it never blocks the thread it shares.
//
// The unit knows whether the program has its end open (the pseudo-terminal hangs up while
// nobody has it open) and, like the bridge, drops what it would send to a closed port, so no
// stale answer waits for the program's next open.
//
// Line pacing: with usPerByte set, every byte takes that long on the wire both ways (260 us is
// 38400 baud, ten bits a byte). A request counts as received when its last byte has crossed the
// line; the answer starts latencyMs later and its bytes leave one by one at the line rate.

#include "unit_peer.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <memory>

class QSocketNotifier;

namespace korvanex::sim {

class PtyUnit : public QObject {
    Q_OBJECT
public:
    struct Line {
        int usPerByte = 0;
        int latencyMs = 0;
    };
    static constexpr int kLineRateUsPerByte = 260;

    // Opens a fresh pseudo-terminal; isPluggedIn() tells whether that worked.
    explicit PtyUnit(QObject* parent = nullptr);
    ~PtyUnit() override;

    bool isPluggedIn() const { return master_ >= 0; }
    // The device path the program opens ("/dev/pts/N").
    QString portPath() const { return path_; }
    QString errorString() const { return error_; }

    UnitPeer& peer() { return peer_; }
    const UnitPeer& peer() const { return peer_; }
    void setLine(Line line) { line_ = line; }
    Line line() const { return line_; }

    // Bytes sent now, unasked (an unsolicited probe answer, say), after what is queued.
    void sendNow(const QByteArray& bytes);
    // The unit's end closes: the program's port loses its device. Queued answers are dropped.
    void unplug();
    // A fresh pseudo-terminal, as when the bridge is plugged in again (a new path).
    bool plugIn();

    // Everything the unit has written to the line so far.
    const QByteArray& sent() const { return sent_; }
    bool answersPending() const { return !queue_.empty(); }
    // The program has its end of the line open.
    bool programAttached() const { return attached_; }

signals:
    // A well-formed request arrived (after its answer has been scheduled).
    void requestReceived(const korvanex::sim::UnitRequest& request);
    void unplugged();

private:
    struct Due {
        qint64 atUs;
        QByteArray bytes;
    };
    void onReadable();
    QByteArray drain(bool& hungUp);
    void take(const QByteArray& bytes);
    void schedule(const std::vector<Transmission>& pieces, qint64 startUs);
    void flushDue();
    void armTimer();
    void closeEnds();
    void detach();
    void checkAttached();
    qint64 nowUs() const { return clock_.nsecsElapsed() / 1000; }

    UnitPeer peer_;
    Line line_;
    int master_ = -1;
    QString path_;
    QString error_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer timer_;
    QTimer attachPoll_; // while the program's end is closed: has it opened again?
    bool attached_ = false;
    QElapsedTimer clock_;
    std::deque<Due> queue_;
    qint64 inLineFreeUs_ = 0;
    qint64 outLineFreeUs_ = 0;
    QByteArray sent_;
};

} // namespace korvanex::sim
