// The reply side of the link engine: gathering a reply, judging it and acting on it.

#include "link/link_engine.h"

#include "core/messages.h"

namespace korvanex::link {

using msg::text;

void LinkEngine::MSComm1_OnComm() {
    const QByteArray bytes = line_.Input();
    if (bytes.isEmpty()) {
        return; // its bytes were read by an earlier event: nothing to judge
    }
    switch (phase_) {
    case Phase::Judging:  // arrived under the judgement's action: dropped with the buffers
    case Phase::Draining: // the tail of the reply just judged
    case Phase::Holding:  // an answer to a copy of the request just answered
        return;
    case Phase::Idle:
        phase_ = Phase::Gathering;
        gathered_.clear();
        // The answer has begun: its own 70 ms window takes over from the request's.
        awaitTimer_->setEnabled(false);
        gatherTimer_->setEnabled(false);
        gatherTimer_->setEnabled(true);
        break;
    case Phase::Gathering:
        break;
    }
    gathered_ += bytes;
    const std::optional<int> complete = completeReplyLength(gathered_);
    if (complete && gathered_.size() >= *complete) {
        judgeGathered();
    }
}

void LinkEngine::gatherTimeout() {
    gatherTimer_->setEnabled(false);
    if (phase_ == Phase::Gathering) {
        judgeGathered();
    } else if (phase_ == Phase::Draining || phase_ == Phase::Holding) {
        phase_ = Phase::Idle;
    }
}

void LinkEngine::judgeGathered() {
    // Nothing stored or clicked since the request was written has changed the link variables:
    // the reply is judged against that request, and what was put off follows the judgement.
    stopAwaiting();
    const bool repeated = writesSinceJudged_ > 1;
    writesSinceJudged_ = 0;

    phase_ = Phase::Judging;
    const QByteArray reply = gathered_;
    gathered_.clear();
    act(judgeReply(PendingStep, reply), reply);
    line_.ClearInBuffer();
    line_.ClearOutBuffer();
    if (phase_ == Phase::Judging) {
        // Judged before its window ended: the rest of the window belongs to this reply. A
        // request that went out more than once has more answers on the way, which the window
        // must swallow before anything is sent again.
        if (!gatherTimer_->Enabled()) {
            phase_ = Phase::Idle;
        } else {
            phase_ = repeated ? Phase::Holding : Phase::Draining;
        }
    }
    applyPutOff();
}

bool LinkEngine::portLostSince(unsigned epoch) const {
    // A vanished device marks the line closed at once and is reported a moment later, from the
    // event loop: either means the link is gone.
    return epoch != portEpoch_ || !line_.PortOpen();
}

void LinkEngine::act(const Verdict& verdict, const QByteArray& reply) {
    switch (verdict.kind) {
    case ReplyKind::ProbeAnswer:
        timer1_->setEnabled(false);
        timer2_->setEnabled(true);
        timer3_->setEnabled(true);
        break;
    case ReplyKind::HandshakeDone:
        handshakeDone();
        break;
    case ReplyKind::BlockReceived:
        blockReceived(verdict.block, reply);
        break;
    case ReplyKind::DisconnectionDone:
        endLink();
        break;
    case ReplyKind::Acknowledged:
        requestAcknowledged();
        break;
    case ReplyKind::CommunicationError:
        communicationError();
        break;
    }
}

void LinkEngine::communicationError() {
    ProbeWaitCount = 0;
    ReplyWaitCount = 0;
    stopAllTimers();
    // A recall or download that ends here must not leave DeviceReady cleared: every band edit
    // and recall would be refused from then on.
    const bool restoreReady = recallOrDownloadPending();
    const unsigned epoch = portEpoch_;
    prompter_.show(text(msg::kCommError), text(msg::kSystemTitle), BoxIcon::Critical);
    if (restoreReady && !portLostSince(epoch) && LinkUp()) {
        DeviceReady = true;
    }
    runningToEnd_ = false;
}

void LinkEngine::handshakeDone() {
    bar_.setMnutuojiEnabled(true);
    timer2_->setEnabled(false);
    ProbeWaitCount = 0;
    ReplyWaitCount = 0;
    PendingStep = 52;
    NextBlock = 1;
    timer2_->setEnabled(true);
}

void LinkEngine::applyBlock(int block) {
    switch (block) {
    case 1:
        appliers_->Music_Data();
        break;
    case 2:
        appliers_->Mic_Data();
        break;
    case 3:
        appliers_->EFF_Data();
        break;
    case 4:
        appliers_->MicB_Data();
        break;
    case 5:
        appliers_->set_Data();
        break;
    default:
        break;
    }
}

void LinkEngine::blockReceived(int block, const QByteArray& reply) {
    static constexpr const char* kRecallDone[] = {msg::kMusicRecallDone, msg::kMicARecallDone,
                                                  msg::kEffectRecallDone, msg::kMicBRecallDone};
    timer2_->setEnabled(false);
    // Element i is reply byte i + 2, after the block's 10 0N.
    storeBlockBytes(Blocks, block, reply.mid(2));
    // An applier may show a box (the equaliser mode of block 5), under which the device can
    // vanish: the link has then ended and nothing more of this block's action may follow.
    const unsigned epoch = portEpoch_;
    applyBlock(block);
    if (portLostSince(epoch)) {
        return;
    }
    // What a page handler stored while the block was applied has been put off: it follows
    // this action.
    ProbeWaitCount = 0;
    ReplyWaitCount = 0;
    if (block < 5) {
        if (RecallMode == 8 + block) {
            prompter_.show(text(kRecallDone[block - 1]), text(msg::kWindowCaption),
                           BoxIcon::Information);
            if (!portLostSince(epoch)) {
                DeviceReady = true;
                runningToEnd_ = false;
            }
        } else {
            PendingStep = 52;
            NextBlock = block + 1;
            timer2_->setEnabled(true);
        }
        return;
    }
    DisableTimer3();
    prompter_.show(text(msg::kConnectDone), text(msg::kWindowCaption), BoxIcon::Information);
    if (portLostSince(epoch)) {
        return; // the device vanished while the box was open: the link has ended
    }
    bar_.setLabel6(text(msg::kStatusConnected), kStatusGreen);
    bar_.setMnulianjiEnabled(false);
    DeviceReady = true;
    runningToEnd_ = false;
    notifyRegistered_ = true;
    linkedOnce_ = true;
}

void LinkEngine::requestAcknowledged() {
    if (stepOwner(PendingStep) == Sender::Timer3) {
        DisableTimer3();
    } else {
        DisableTimer2();
    }
    ProbeWaitCount = 0;
    ReplyWaitCount = 0;
    if (PendingStep == 60) {
        prompter_.show(text(msg::kSaveDone), text(msg::kWindowCaption), BoxIcon::Information);
    } else if (PendingStep == 53) {
        const unsigned epoch = portEpoch_;
        prompter_.show(text(msg::kImportDone), text(msg::kWindowCaption), BoxIcon::Information);
        if (!portLostSince(epoch)) {
            DeviceReady = true;
            runningToEnd_ = false;
        }
    }
}

void LinkEngine::endLink() {
    // The disconnection acknowledgement, and a vanished device, end the link the same way.
    bar_.setMnulianjiEnabled(true);
    DeviceReady = false;
    if (linkedOnce_) {
        bar_.setLabel6(text(msg::kStatusDisconnected), kStatusRed);
    }
    closePort();
    stopAllTimers();
    ProbeWaitCount = 0;
    ReplyWaitCount = 0;
    StepValue = 0;
    StepIndex = 0;
    RecallMode = 0;
    NextBlock = 0;
    RecallPreset = 0;
    notifyRegistered_ = false;
}

void LinkEngine::deviceLost() {
    // The bridge vanished under an open port; the port is already closed. Without this the
    // status would stay "connected" with the connect button disabled until a restart.
    endLink();
    prompter_.show(text(msg::kCheckDevice), text(msg::kSystemTitle), BoxIcon::Critical);
}

} // namespace korvanex::link
