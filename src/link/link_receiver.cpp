// The reply side of the link engine: gathering a reply, judging it and acting on it.

#include "link/link_engine.h"

#include "core/messages.h"

namespace korvanex::link {

using msg::text;

namespace {} // namespace

void LinkEngine::MSComm1_OnComm() {
    const QByteArray bytes = line_.Input();
    if (bytes.isEmpty()) {
        return; // its bytes were read by an earlier event: nothing to judge
    }
    switch (phase_) {
    case Phase::Judging:  // arrived under the judgement's action: dropped with the buffers
    case Phase::Draining: // the tail of the reply just judged
        return;
    case Phase::Idle:
        phase_ = Phase::Gathering;
        gathered_.clear();
        atGatherStart_ = captureRequest();
        deferredTimer2_ = false;
        deferredTimer3_ = false;
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
    } else if (phase_ == Phase::Draining) {
        phase_ = Phase::Idle;
    }
}

LinkEngine::RequestState LinkEngine::captureRequest() const {
    return {PendingStep, StepValue,    StepIndex, SaveModeIndex,
            RecallMode,  RecallPreset, NextBlock, DeviceReady};
}

void LinkEngine::restoreRequest(const RequestState& state) {
    PendingStep = state.PendingStep;
    StepValue = state.StepValue;
    StepIndex = state.StepIndex;
    SaveModeIndex = state.SaveModeIndex;
    RecallMode = state.RecallMode;
    RecallPreset = state.RecallPreset;
    NextBlock = state.NextBlock;
    DeviceReady = state.DeviceReady;
}

void LinkEngine::judgeGathered() {
    // The reply is judged against the request that was pending when it began to arrive;
    // whatever handlers stored meanwhile is laid over the judgement's outcome afterwards.
    const RequestState stored = captureRequest();
    const RequestState before = atGatherStart_;
    restoreRequest(before);
    const bool startTimer2 = deferredTimer2_;
    const bool startTimer3 = deferredTimer3_;
    deferredTimer2_ = false;
    deferredTimer3_ = false;

    phase_ = Phase::Judging;
    const QByteArray reply = gathered_;
    gathered_.clear();
    act(judgeReply(PendingStep, reply), reply);
    line_.ClearInBuffer();
    line_.ClearOutBuffer();
    if (phase_ == Phase::Judging) {
        // Judged before its window ended: the rest of the window belongs to this reply.
        phase_ = gatherTimer_->Enabled() ? Phase::Draining : Phase::Idle;
    }

    auto later = [](int& field, int was, int now) {
        if (now != was) {
            field = now;
        }
    };
    later(PendingStep, before.PendingStep, stored.PendingStep);
    later(StepValue, before.StepValue, stored.StepValue);
    later(StepIndex, before.StepIndex, stored.StepIndex);
    later(SaveModeIndex, before.SaveModeIndex, stored.SaveModeIndex);
    later(RecallMode, before.RecallMode, stored.RecallMode);
    later(RecallPreset, before.RecallPreset, stored.RecallPreset);
    later(NextBlock, before.NextBlock, stored.NextBlock);
    if (stored.DeviceReady != before.DeviceReady) {
        DeviceReady = stored.DeviceReady;
    }
    if (startTimer2 && LinkUp()) {
        timer2_->setEnabled(true);
    }
    if (startTimer3 && LinkUp()) {
        timer3_->setEnabled(true);
    }
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
        ProbeWaitCount = 0;
        ReplyWaitCount = 0;
        stopAllTimers();
        prompter_.show(text(msg::kCommError), text(msg::kSystemTitle), BoxIcon::Critical);
        break;
    }
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
    applyBlock(block);
    // Off again: this also stops a request that a page handler queued while it was applied.
    DisableTimer2();
    ProbeWaitCount = 0;
    ReplyWaitCount = 0;
    if (block < 5) {
        if (RecallMode == 8 + block) {
            const unsigned epoch = portEpoch_;
            prompter_.show(text(kRecallDone[block - 1]), text(msg::kWindowCaption),
                           BoxIcon::Information);
            if (epoch == portEpoch_) {
                DeviceReady = true;
            }
        } else {
            PendingStep = 52;
            NextBlock = block + 1;
            timer2_->setEnabled(true);
        }
        return;
    }
    DisableTimer3();
    const unsigned epoch = portEpoch_;
    prompter_.show(text(msg::kConnectDone), text(msg::kWindowCaption), BoxIcon::Information);
    if (epoch != portEpoch_) {
        return; // the device vanished while the box was open: the link has already ended
    }
    bar_.setLabel6(text(msg::kStatusConnected), kStatusGreen);
    bar_.setMnulianjiEnabled(false);
    DeviceReady = true;
    notifyRegistered_ = true;
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
        if (epoch == portEpoch_) {
            DeviceReady = true;
        }
    }
}

void LinkEngine::endLink() {
    // The disconnection acknowledgement, and a vanished device, end the link the same way.
    bar_.setMnulianjiEnabled(true);
    DeviceReady = false;
    bar_.setLabel6(text(msg::kStatusDisconnected), kStatusRed);
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
