#include "pty_unit.h"

#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace korvanex::sim {

namespace {

// Answers due within this much of now go out together: the timer has millisecond grain.
constexpr qint64 kSlackUs = 300;
constexpr int kAttachPollMs = 5;

} // namespace

PtyUnit::PtyUnit(QObject* parent) : QObject(parent) {
    clock_.start();
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &PtyUnit::flushDue);
    attachPoll_.setInterval(kAttachPollMs);
    connect(&attachPoll_, &QTimer::timeout, this, &PtyUnit::checkAttached);
    plugIn();
}

PtyUnit::~PtyUnit() {
    closeEnds();
}

bool PtyUnit::plugIn() {
    closeEnds();
    queue_.clear();
    char name[256] = {};
    int slave = -1;
    if (::openpty(&master_, &slave, name, nullptr, nullptr) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        master_ = -1;
        return false;
    }
    // Raw from the start: no echo of the program's bytes back at it before it sets the line.
    termios raw{};
    if (::tcgetattr(slave, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
    }
    ::close(slave);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    path_ = QString::fromLocal8Bit(name);
    error_.clear();
    inLineFreeUs_ = outLineFreeUs_ = 0;
    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &PtyUnit::onReadable);
    detach(); // until the program opens its end
    return true;
}

void PtyUnit::detach() {
    attached_ = false;
    queue_.clear();
    timer_.stop();
    if (notifier_) {
        notifier_->setEnabled(false);
    }
    attachPoll_.start();
}

void PtyUnit::checkAttached() {
    if (master_ < 0) {
        attachPoll_.stop();
        return;
    }
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, 0) < 0) {
        return;
    }
    if ((p.revents & POLLHUP) != 0) {
        // The program may have opened, written and closed again between two looks: the unit
        // still hears those bytes, and its answers go nowhere.
        bool hungUp = false;
        const QByteArray bytes = drain(hungUp);
        if (!bytes.isEmpty()) {
            take(bytes);
        }
        return;
    }
    attachPoll_.stop();
    attached_ = true;
    notifier_->setEnabled(true);
    onReadable();
}

void PtyUnit::closeEnds() {
    notifier_.reset();
    if (master_ >= 0) {
        ::close(master_);
    }
    master_ = -1;
    attached_ = false;
    attachPoll_.stop();
}

void PtyUnit::unplug() {
    timer_.stop();
    queue_.clear();
    closeEnds();
    emit unplugged();
}

// Everything the program has written; `hungUp` when its end is closed.
QByteArray PtyUnit::drain(bool& hungUp) {
    QByteArray bytes;
    char buf[4096];
    hungUp = false;
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            bytes.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // EIO: the program closed its end; what it wrote before has been read above.
        hungUp = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        return bytes;
    }
}

void PtyUnit::onReadable() {
    bool hungUp = false;
    const QByteArray bytes = drain(hungUp);
    if (!bytes.isEmpty()) {
        take(bytes);
    }
    if (hungUp) {
        detach();
    }
}

void PtyUnit::take(const QByteArray& bytes) {
    const qint64 now = nowUs();
    qint64 doneUs = now;
    if (line_.usPerByte > 0) {
        inLineFreeUs_ = std::max(now, inLineFreeUs_) + bytes.size() * line_.usPerByte;
        doneUs = inLineFreeUs_;
    }
    const std::size_t before = peer_.requests().size();
    const auto pieces = peer_.receive(bytes, doneUs / 1000);
    schedule(pieces, doneUs + qint64{line_.latencyMs} * 1000);
    const auto& log = peer_.requests();
    for (std::size_t i = before; i < log.size(); ++i) {
        emit requestReceived(log[i]);
    }
}

void PtyUnit::sendNow(const QByteArray& bytes) {
    schedule({Transmission{bytes, 0}}, nowUs());
}

void PtyUnit::schedule(const std::vector<Transmission>& pieces, qint64 startUs) {
    if (!attached_) {
        return; // a closed port receives nothing
    }
    qint64 t = startUs;
    for (const Transmission& piece : pieces) {
        t += qint64{piece.gapMs} * 1000;
        if (line_.usPerByte <= 0) {
            queue_.push_back({t, piece.bytes});
            continue;
        }
        for (const char byte : piece.bytes) {
            t = std::max(t, outLineFreeUs_) + line_.usPerByte;
            outLineFreeUs_ = t;
            queue_.push_back({t, QByteArray(1, byte)});
        }
    }
    // Pieces are queued in order, but a later answer may not overtake an earlier one.
    std::stable_sort(queue_.begin(), queue_.end(),
                     [](const Due& a, const Due& b) { return a.atUs < b.atUs; });
    flushDue();
}

void PtyUnit::flushDue() {
    if (!attached_) {
        queue_.clear();
        return;
    }
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, 0) >= 0 && (p.revents & POLLHUP) != 0) {
        onReadable(); // the program has closed its end: take its last bytes, then detach
        return;
    }
    const qint64 now = nowUs();
    QByteArray out;
    while (!queue_.empty() && queue_.front().atUs <= now + kSlackUs) {
        out.append(queue_.front().bytes);
        queue_.pop_front();
    }
    qsizetype written = 0;
    while (written < out.size()) {
        const ssize_t n = ::write(master_, out.constData() + written,
                                  static_cast<std::size_t>(out.size() - written));
        if (n > 0) {
            written += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break; // the program's side is full: try the rest again shortly
        }
    }
    sent_.append(out.left(written));
    if (written < out.size()) {
        queue_.push_front({now + 1000, out.mid(written)});
    }
    armTimer();
}

void PtyUnit::armTimer() {
    if (queue_.empty()) {
        timer_.stop();
        return;
    }
    const qint64 waitUs = queue_.front().atUs - nowUs() - kSlackUs;
    timer_.start(static_cast<int>(std::max<qint64>(0, (waitUs + 999) / 1000)));
}

} // namespace korvanex::sim
