#pragma once
// The device link: the link variables, the probe and the two request senders, the reply
// receiver and the connection state machine. Plain C++; it reaches the world through the
// serial line, the timers, the connect bar, the prompter, the block appliers and the frame
// source.
//
// Replies are gathered without blocking: from its first byte a reply is collected until it is
// complete (2 bytes for the probe answer, 4 for an acknowledgement, 2 + block size for a
// block) or until 70 ms have passed, and then judged. While a reply is gathered or judged no
// timer sends or counts. A reply to a request that went out more than once keeps its 70 ms
// window closed to the end, since the unit answers every copy.
//
// A written request is awaited until its answer is judged, or until 70 ms after its last byte
// left the wire with no byte of an answer. Meanwhile no sender writes (the owner's ticks still
// count towards the give-up), and what handlers store and the connect and disconnect clicks
// are put off: they change nothing until the answer has been judged against the request that
// was written, then follow in order, each only if its own test still holds. A section recall
// or a whole-set download, once stored, runs to its end the same way: nothing replaces it.
//
// No request is written while the previous request can still be on the wire (a byte takes
// 260.4 us). Such a tick writes nothing but counts, so that giving up still takes 21 ticks.
// The probe's single byte is not awaited, neither waits nor holds a sender up.

#include "core/prompter.h"
#include "link/block_appliers.h"
#include "link/block_store.h"
#include "link/connect_bar.h"
#include "link/frame_source.h"
#include "link/link_store.h"
#include "link/link_timer.h"
#include "link/monotonic_clock.h"
#include "link/port_finder.h"
#include "link/serial_line.h"
#include "link/step_table.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace korvanex::link {

class LinkEngine {
public:
    LinkEngine(SerialLine& line, ConnectBar& bar, Prompter& prompter, TimerFactory timers,
               PortFinder finder);
    ~LinkEngine();
    LinkEngine(const LinkEngine&) = delete;
    LinkEngine& operator=(const LinkEngine&) = delete;

    // Wiring (all optional).
    void setAppliers(BlockAppliers* appliers); // nullptr: no-op appliers
    void setFrameSource(FrameSource source);   // unset: parameter steps are dropped
    // The clock the timers run on, set before the first write; unset, the wire counts as free
    // at every tick.
    void setClock(MonotonicClock clock);
    // Ends the program with an exit status (when the port refuses its settings).
    void setQuit(std::function<void(int exitCode)> quit);

    // Link variables, read and written by the page handlers.
    int PendingStep = 0;
    int StepValue = 0;
    int StepIndex = 0;
    int SaveModeIndex = 0;
    int RecallMode = 0;
    int RecallPreset = 0;
    int NextBlock = 0;
    bool DeviceReady = false;
    int ProbeWaitCount = 0;
    int ReplyWaitCount = 0;
    QByteArray TxFrame;
    QString CH341Port; // sticky: the last port found is used again when a search finds none
    BlockStore Blocks;

    // Handlers.
    void mnulianji_Click();
    void mnutuoji_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void MSComm1_OnComm();
    // Finds the port, applies the settings and opens it; true when the port is open after.
    bool rs232();

    // The port is open and the connect button is disabled.
    bool LinkUp() const;
    // Stops the sender of steps 34 to 53 (whatever it was sending).
    void DisableTimer3();

    // What a handler stores for the senders: when its test holds, the operands, then
    // PendingStep, then the owner timer of the step is enabled. While a request is awaited, a
    // reply gathered or judged, or a recall or download runs, the store is put off: it changes
    // nothing now and is applied afterwards, in order, only if its test holds then. Returns
    // whether the test held now (the store was applied or put off).
    bool store(const LinkStore& s);

    const LinkTimer& Timer1() const { return *timer1_; }
    const LinkTimer& Timer2() const { return *timer2_; }
    const LinkTimer& Timer3() const { return *timer3_; }
    SerialLine& MSComm1() { return line_; }

    // Closing the program: with the port open the exit frame is written and flushed, then the
    // device notification is cancelled and the port closed; with it closed only the
    // notification is cancelled.
    void closeForExit();

    // True from the registration after a completed connection until a disconnection, a device
    // loss or the exit.
    bool deviceNotifyRegistered() const { return notifyRegistered_; }
    // A reply is being gathered or judged, or its window is held closed after a repeated
    // request: no timer sends or counts meanwhile.
    bool replyInProgress() const {
        return phase_ == Phase::Gathering || phase_ == Phase::Judging || phase_ == Phase::Holding;
    }
    // A byte arriving now starts a new reply (no reply window is open).
    bool listening() const { return phase_ == Phase::Idle; }
    // The last request written is still leaving the wire: a sender's tick now writes nothing.
    bool wireBusy() const;
    // A written request waits for its answer (or for its window to end without one).
    bool requestAwaited() const { return awaiting_; }
    // A section recall or a whole-set download was stored and has not ended yet.
    bool recallOrDownloadRunning() const { return runningToEnd_; }
    // Stores and clicks are put off now.
    bool puttingOff() const;

private:
    // Draining: the rest of an early-judged window, dropped until the next write.
    // Holding: the rest of the window of a repeated request: dropped, and no timer ticks.
    enum class Phase { Idle, Gathering, Judging, Draining, Holding };
    // What was put off until the judgement: a store, or a click of either button.
    struct Deferred {
        enum class Kind { Store, Connect, Disconnect } kind;
        LinkStore store;
    };

    // Sending.
    bool storeTestHolds(StoreTest test) const;
    void applyStore(const LinkStore& s);
    // Applies what was put off, in order, unless something puts it off again.
    void applyPutOff();
    void startAwaiting(qsizetype frameBytes);
    void stopAwaiting();
    void awaitTimeout();
    // PendingStep is a section recall (step 52, modes 9 to 12) or the whole-set download.
    bool recallOrDownloadPending() const;
    // Counts a tick of the pending step's sender; the 21st gives up.
    void countTick(LinkTimer& timer);
    void giveUp(LinkTimer& timer);
    void enableOwner(int step);
    void DisableTimer2();
    void stopAllTimers();
    void closePort();
    void senderTick(Sender self, LinkTimer& timer);
    std::optional<QByteArray> buildFrame(int step) const;
    // False when the line refused the bytes.
    bool write(const QByteArray& bytes);

    // Receiving (link_receiver.cpp).
    void gatherTimeout();
    void judgeGathered();
    void act(const Verdict& verdict, const QByteArray& reply);
    void applyBlock(int block);
    void communicationError();
    void handshakeDone();
    void blockReceived(int block, const QByteArray& reply);
    void requestAcknowledged();
    void deviceLost();
    bool portLostSince(unsigned epoch) const;
    void endLink();

    SerialLine& line_;
    ConnectBar& bar_;
    Prompter& prompter_;
    PortFinder finder_;
    BlockAppliers defaultAppliers_;
    BlockAppliers* appliers_ = &defaultAppliers_;
    FrameSource frameSource_;
    std::function<void(int)> quit_;
    MonotonicClock clock_;

    std::unique_ptr<LinkTimer> timer1_;
    std::unique_ptr<LinkTimer> timer2_;
    std::unique_ptr<LinkTimer> timer3_;
    std::unique_ptr<LinkTimer> gatherTimer_; // the 70 ms reply window
    std::unique_ptr<LinkTimer> awaitTimer_;  // the written request's window, to 70 ms past its end

    Phase phase_ = Phase::Idle;
    QByteArray gathered_;
    std::vector<Deferred> deferred_;
    bool awaiting_ = false;
    bool runningToEnd_ = false;
    // Held while a give-up's box is open, so that what is put off keeps its order.
    int holdingStores_ = 0;
    // Frames written since the last judged reply: more than one, and the unit's answers to
    // the copies are still on their way when the first is judged.
    int writesSinceJudged_ = 0;
    // When the last request written has left the wire, by clock_.
    std::chrono::nanoseconds wireFreeAt_{0};
    bool notifyRegistered_ = false;
    // Label6 reads "未连接" until the first connection of the run completes.
    bool linkedOnce_ = false;
    // Counts port closings: an action that showed a box, or ran an applier that may show one,
    // checks it to see whether the link ended (device lost, exit) meanwhile.
    unsigned portEpoch_ = 0;
};

} // namespace korvanex::link
