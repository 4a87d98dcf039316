#include "link/link_engine.h"

#include "core/messages.h"
#include "link/frames.h"

#include <cstdint>
#include <cstdio>

namespace korvanex::link {

using msg::text;

namespace {

constexpr int kGiveUpAfter = 20; // the 21st unanswered send gives up
constexpr int kReplyWindowMs = 70;
constexpr std::int64_t kBaud = 38400;
constexpr std::int64_t kBitsPerByte = 10; // start, eight data bits, stop

// How long `bytes` take on the wire at 38400 8N1: 260.4 us a byte.
std::chrono::nanoseconds wireTime(qsizetype bytes) {
    return std::chrono::nanoseconds(std::int64_t(bytes) * kBitsPerByte * 1'000'000'000 / kBaud);
}

// A written frame's window: its wire time, rounded up to whole milliseconds, and 70 ms more.
int awaitWindowMs(qsizetype bytes) {
    constexpr std::int64_t kNsPerMs = 1'000'000;
    return int((wireTime(bytes).count() + kNsPerMs - 1) / kNsPerMs) + kReplyWindowMs;
}

} // namespace

LinkEngine::LinkEngine(SerialLine& line, ConnectBar& bar, Prompter& prompter, TimerFactory timers,
                       PortFinder finder)
    : line_(line), bar_(bar), prompter_(prompter), finder_(std::move(finder)), timer1_(timers()),
      timer2_(timers()), timer3_(timers()), gatherTimer_(timers()), awaitTimer_(timers()) {
    timer1_->setInterval(20);
    timer2_->setInterval(20);
    timer3_->setInterval(50);
    gatherTimer_->setInterval(kReplyWindowMs);
    timer1_->onTick = [this] { Timer1_Timer(); };
    timer2_->onTick = [this] { Timer2_Timer(); };
    timer3_->onTick = [this] { Timer3_Timer(); };
    gatherTimer_->onTick = [this] { gatherTimeout(); };
    awaitTimer_->onTick = [this] { awaitTimeout(); };
    line_.OnComm = [this] { MSComm1_OnComm(); };
    line_.OnDeviceLost = [this] { deviceLost(); };
}

LinkEngine::~LinkEngine() {
    line_.OnComm = nullptr;
    line_.OnDeviceLost = nullptr;
}

void LinkEngine::setAppliers(BlockAppliers* appliers) {
    appliers_ = appliers != nullptr ? appliers : &defaultAppliers_;
}

void LinkEngine::setFrameSource(FrameSource source) {
    frameSource_ = std::move(source);
}

void LinkEngine::setQuit(std::function<void(int)> quit) {
    quit_ = std::move(quit);
}

void LinkEngine::setClock(MonotonicClock clock) {
    clock_ = std::move(clock);
}

bool LinkEngine::wireBusy() const {
    return clock_ && clock_() < wireFreeAt_;
}

bool LinkEngine::LinkUp() const {
    return line_.PortOpen() && !bar_.mnulianjiEnabled();
}

// --- Timers and stores ----------------------------------------------------------------------

void LinkEngine::DisableTimer2() {
    timer2_->setEnabled(false);
}

void LinkEngine::DisableTimer3() {
    timer3_->setEnabled(false);
}

void LinkEngine::enableOwner(int step) {
    switch (stepOwner(step)) {
    case Sender::Timer2:
        timer2_->setEnabled(true);
        break;
    case Sender::Timer3:
        timer3_->setEnabled(true);
        break;
    case Sender::None:
        break;
    }
}

void LinkEngine::stopAllTimers() {
    timer1_->setEnabled(false);
    DisableTimer2();
    DisableTimer3();
}

bool LinkEngine::storeTestHolds(StoreTest test) const {
    switch (test) {
    case StoreTest::Always:
        return true;
    case StoreTest::LinkUp:
        return LinkUp();
    case StoreTest::LinkUpAndReady:
        return LinkUp() && DeviceReady;
    }
    return false;
}

bool LinkEngine::puttingOff() const {
    return awaiting_ || runningToEnd_ || holdingStores_ > 0 || phase_ == Phase::Gathering ||
           phase_ == Phase::Judging;
}

bool LinkEngine::recallOrDownloadPending() const {
    return (PendingStep == 52 && RecallMode >= 9 && RecallMode <= 12) || PendingStep == 53;
}

void LinkEngine::applyStore(const LinkStore& s) {
    auto set = [](int& field, const std::optional<int>& value) {
        if (value) {
            field = *value;
        }
    };
    set(StepValue, s.StepValue);
    set(StepIndex, s.StepIndex);
    set(SaveModeIndex, s.SaveModeIndex);
    set(RecallMode, s.RecallMode);
    set(RecallPreset, s.RecallPreset);
    set(NextBlock, s.NextBlock);
    if (s.DeviceReady) {
        DeviceReady = *s.DeviceReady;
    }
    if (!s.step) {
        return;
    }
    PendingStep = *s.step;
    // Whatever is stored after a recall or a download follows it, so that the unit gets the
    // whole section or set and DeviceReady comes back.
    runningToEnd_ = recallOrDownloadPending();
    // A sender on a closed port would only count failed writes into a no-reply box.
    if (line_.PortOpen()) {
        enableOwner(PendingStep);
    }
}

bool LinkEngine::store(const LinkStore& s) {
    if (!storeTestHolds(s.test)) {
        return false;
    }
    if (puttingOff()) {
        deferred_.push_back({Deferred::Kind::Store, s});
    } else {
        applyStore(s);
    }
    return true;
}

void LinkEngine::applyPutOff() {
    std::vector<Deferred> putOff;
    putOff.swap(deferred_);
    for (std::size_t i = 0; i < putOff.size(); ++i) {
        if (puttingOff()) {
            // A recall or download applied just now: the rest follows it.
            deferred_.insert(deferred_.end(), putOff.begin() + std::ptrdiff_t(i), putOff.end());
            return;
        }
        const Deferred& d = putOff[i];
        switch (d.kind) {
        case Deferred::Kind::Store:
            if (storeTestHolds(d.store.test)) {
                applyStore(d.store);
            }
            break;
        case Deferred::Kind::Connect:
            mnulianji_Click();
            break;
        case Deferred::Kind::Disconnect:
            mnutuoji_Click();
            break;
        }
    }
}

void LinkEngine::startAwaiting(qsizetype frameBytes) {
    awaiting_ = true;
    awaitTimer_->setEnabled(false);
    awaitTimer_->setInterval(awaitWindowMs(frameBytes));
    awaitTimer_->setEnabled(true);
}

void LinkEngine::stopAwaiting() {
    awaiting_ = false;
    awaitTimer_->setEnabled(false);
}

void LinkEngine::awaitTimeout() {
    // The window ended without a byte of an answer: the request may be written again, and
    // what was put off meanwhile goes first.
    stopAwaiting();
    applyPutOff();
}

// --- Port and connection -------------------------------------------------------------------

bool LinkEngine::rs232() {
    // An open port (a connection attempt still running, or one that failed after the probe)
    // keeps its name and settings: the connect click only restarts the probe on it.
    if (line_.PortOpen()) {
        return true;
    }
    const QString found = finder_ ? finder_() : QString();
    if (!found.isEmpty()) {
        CH341Port = found;
    }
    if (CH341Port.isEmpty()) {
        prompter_.show(text(msg::kUsbNotConnected), text(msg::kWindowCaption), BoxIcon::Critical);
        return false;
    }
    line_.setSettings(QStringLiteral("38400,n,8,1"));
    line_.ClearOutBuffer();
    line_.ClearInBuffer();
    line_.setCommPort(CH341Port);
    switch (line_.Open()) {
    case SerialLine::OpenResult::Opened:
        // Emptying a closed port's buffers reaches no driver: bytes the bridge still held
        // would be taken for the first reply.
        line_.ClearOutBuffer();
        line_.ClearInBuffer();
        // Requests written before the port last closed have no answers on this one.
        writesSinceJudged_ = 0;
        return true;
    case SerialLine::OpenResult::CannotOpen:
        std::fprintf(stderr, "korvanex: cannot open %s: %s\n", qPrintable(CH341Port),
                     qPrintable(line_.errorText()));
        prompter_.show(text(msg::kConnectFailed), text(msg::kSystemTitle), BoxIcon::Critical);
        return false;
    case SerialLine::OpenResult::SettingsRefused:
        std::fprintf(stderr, "korvanex: %s refuses 38400,n,8,1: %s\n", qPrintable(CH341Port),
                     qPrintable(line_.errorText()));
        closePort();
        prompter_.show(text(msg::kPortSetupFailed), text(msg::kWindowCaption),
                       BoxIcon::Information);
        if (quit_) {
            quit_(1);
        }
        return false;
    }
    return false;
}

void LinkEngine::mnulianji_Click() {
    if (puttingOff()) {
        // Takes effect after the judgement, as if clicked then (the port is open meanwhile).
        deferred_.push_back({Deferred::Kind::Connect, {}});
        return;
    }
    if (!rs232()) {
        return;
    }
    DeviceReady = false;
    PendingStep = 1;
    StepValue = kConnectCommand;
    // A click during a running probe continues its count; a fresh attempt gets all 21 probes.
    if (!timer1_->Enabled()) {
        ProbeWaitCount = 0;
    }
    timer1_->setEnabled(true);
}

void LinkEngine::mnutuoji_Click() {
    if (!LinkUp()) {
        return;
    }
    if (puttingOff()) {
        deferred_.push_back({Deferred::Kind::Disconnect, {}});
        return;
    }
    PendingStep = 1;
    StepValue = kDisconnectCommand;
    timer1_->setEnabled(true);
}

void LinkEngine::Timer1_Timer() {
    if (replyInProgress()) {
        return;
    }
    write(QByteArray(1, static_cast<char>(kProbeByte)));
    ++ProbeWaitCount;
    if (ProbeWaitCount <= kGiveUpAfter) {
        return;
    }
    timer1_->setEnabled(false);
    ProbeWaitCount = 0;
    if (bar_.mnulianjiEnabled()) {
        // Closed before the box, so that a late probe answer under the box cannot start the
        // senders on a port that is about to close.
        if (line_.PortOpen()) {
            closePort();
        }
        prompter_.show(text(msg::kConnectFailed), text(msg::kSystemTitle), BoxIcon::Critical);
    } else {
        prompter_.show(text(msg::kCheckDevice), text(msg::kSystemTitle), BoxIcon::Critical);
    }
}

void LinkEngine::closePort() {
    // Nothing may tick on a closed port.
    stopAllTimers();
    line_.Close();
    ++portEpoch_;
    phase_ = Phase::Idle;
    gathered_.clear();
    writesSinceJudged_ = 0;
    gatherTimer_->setEnabled(false);
    // Nothing is awaited on a closed port, and what was put off is void with the link.
    stopAwaiting();
    runningToEnd_ = false;
    deferred_.clear();
}

void LinkEngine::closeForExit() {
    stopAllTimers();
    if (line_.PortOpen()) {
        line_.Output(exitFrame());
        line_.Flush();
        closePort();
    }
    notifyRegistered_ = false;
}

// --- Senders -------------------------------------------------------------------------------

void LinkEngine::Timer2_Timer() {
    senderTick(Sender::Timer2, *timer2_);
}

void LinkEngine::Timer3_Timer() {
    senderTick(Sender::Timer3, *timer3_);
}

void LinkEngine::senderTick(Sender self, LinkTimer& timer) {
    // A reply is being read: this tick neither sends nor counts.
    if (replyInProgress()) {
        return;
    }
    if (stepOwner(PendingStep) != self) {
        timer.setEnabled(false);
        return;
    }
    if (awaiting_) {
        // The request is written again only once its window has ended without an answer.
        countTick(timer);
        return;
    }
    std::optional<QByteArray> frame = buildFrame(PendingStep);
    if (!frame) {
        // A request the pages cannot express (an operand outside its control) is dropped.
        timer.setEnabled(false);
        return;
    }
    TxFrame = std::move(*frame);
    if (!TxFrame.isEmpty() && !wireBusy() && write(TxFrame)) {
        if (clock_) {
            // The wire was free, so the frame starts now.
            wireFreeAt_ = clock_() + wireTime(TxFrame.size());
        }
        startAwaiting(TxFrame.size());
    }
    // A failed or skipped write still counts, so that an unanswered request gives up after as
    // many ticks as ever.
    countTick(timer);
}

void LinkEngine::countTick(LinkTimer& timer) {
    ++ReplyWaitCount;
    if (ReplyWaitCount > kGiveUpAfter) {
        giveUp(timer);
    }
}

void LinkEngine::giveUp(LinkTimer& timer) {
    timer.setEnabled(false);
    // The give-up ends the request's window; what was put off follows the box, in order.
    stopAwaiting();
    // A recall or a whole-set download cleared DeviceReady for its duration; left cleared,
    // every later edit would silently stay on the PC.
    const bool restoreReady = recallOrDownloadPending();
    ++holdingStores_;
    prompter_.show(text(msg::kNoReply), text(msg::kWindowCaption), BoxIcon::Information);
    --holdingStores_;
    ProbeWaitCount = 0;
    ReplyWaitCount = 0;
    if (restoreReady && LinkUp()) {
        DeviceReady = true;
    }
    runningToEnd_ = false;
    applyPutOff();
}

std::optional<QByteArray> LinkEngine::buildFrame(int step) const {
    if (step == 1) {
        return linkCommandFrame(StepValue);
    }
    if (step == 52) {
        return blockReadFrame(RecallMode, RecallPreset, NextBlock);
    }
    if (!frameSource_) {
        return std::nullopt;
    }
    return frameSource_(step);
}

bool LinkEngine::write(const QByteArray& bytes) {
    // Whatever still arrives of the reply judged last is dropped only until the next request.
    if (phase_ == Phase::Draining) {
        phase_ = Phase::Idle;
        gatherTimer_->setEnabled(false);
    }
    if (!line_.Output(bytes)) {
        return false;
    }
    ++writesSinceJudged_;
    return true;
}

} // namespace korvanex::link
