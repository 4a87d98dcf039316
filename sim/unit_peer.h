#pragma once
// The simulated unit's side of the protocol, without any transport: bytes from the PC go in,
// the timed pieces of its answers come out.
//
//   probe 3F              -> 52 3A
//   link command 7F / 00  -> 35 82 01 7F / 35 82 01 00
//   block read of block N -> 10 0N and the block's bytes (a recall first switches the preset)
//   parameter request     -> 35 82 group item, and the value is kept
//   whole-set download    -> 35 82 13 00, and all of its values are kept
//
// A frame that fails its checks (length, item, band, checksum) is dropped without an answer,
// so the PC resends it; so are stray bytes. Scripted faults shape or withhold answers.

#include "unit_faults.h"
#include "unit_frame_parser.h"
#include "unit_model.h"

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

namespace korvanex::sim {

class UnitPeer {
public:
    // The line has been quiet this long in the middle of a frame: the frame is given up.
    static constexpr qint64 kFrameIdleMs = 100;

    UnitPeer() = default;
    explicit UnitPeer(UnitModel model) : model_(std::move(model)) {}

    // Bytes from the PC at `nowMs` (any clock): the answers to every request they complete.
    std::vector<Transmission> receive(QByteArrayView bytes, qint64 nowMs = 0);

    // The proper reply to a request, before faults (empty for none).
    QByteArray replyTo(const UnitRequest& request);

    UnitModel& model() { return model_; }
    const UnitModel& model() const { return model_; }
    FaultScript& faults() { return faults_; }

    // Every well-formed request received, in order.
    const std::vector<UnitRequest>& requests() const { return requests_; }
    int countOf(RequestKind kind) const;
    int badFrames() const { return badFrames_; }
    int strayBytes() const { return strayBytes_; }
    void clearLog();

    // A block reply: 10, 0N, then the block.
    static QByteArray blockReply(int n, const QByteArray& block);

private:
    void answer(const UnitRequest& request, std::vector<Transmission>& out);

    UnitModel model_;
    UnitFrameParser parser_;
    FaultScript faults_;
    std::vector<UnitRequest> requests_;
    int badFrames_ = 0;
    int strayBytes_ = 0;
    qint64 lastByteMs_ = 0;
};

} // namespace korvanex::sim
