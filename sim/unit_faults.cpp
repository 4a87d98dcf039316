#include "unit_faults.h"

namespace korvanex::sim {

namespace {

// A fault that only keeps the unit silent steps aside once its silence is spent.
bool shapesAnswers(const Fault& f) {
    return f.replyWith.has_value() || f.cutTo >= 0 || f.extraBytes > 0 || f.otherBlock > 0 ||
           !f.chunkSizes.empty() || f.duplicates > 0 || !f.thenSend.isEmpty();
}

std::vector<Transmission> split(const QByteArray& reply, const Fault& f, int firstGapMs) {
    std::vector<Transmission> pieces;
    qsizetype at = 0;
    int gap = firstGapMs;
    for (const int size : f.chunkSizes) {
        if (at >= reply.size()) {
            break;
        }
        const qsizetype take = std::max(1, size);
        pieces.push_back({reply.mid(at, take), gap});
        at += take;
        gap = f.chunkGapMs;
    }
    if (at < reply.size()) {
        pieces.push_back({reply.mid(at), gap});
    }
    return pieces;
}

} // namespace

bool RequestMatch::matches(const UnitRequest& request) const {
    if (kind && *kind != request.kind) {
        return false;
    }
    if (group && *group != request.group) {
        return false;
    }
    if (item && *item != request.item) {
        return false;
    }
    return !block || *block == request.block;
}

std::vector<Transmission> FaultScript::shape(const UnitRequest& request, const QByteArray& reply,
                                             const std::function<QByteArray(int)>& otherBlock,
                                             bool& acknowledged) {
    acknowledged = true;
    for (Entry& entry : faults_) {
        Fault& f = entry.fault;
        if (!f.when.matches(request)) {
            continue;
        }
        if (f.silentSends < 0 || entry.silenced < f.silentSends) {
            ++entry.silenced;
            acknowledged = false;
            return {};
        }
        if (!shapesAnswers(f) || f.uses == 0) {
            continue;
        }
        if (f.uses > 0) {
            --f.uses;
        }
        QByteArray answer = reply;
        if (f.otherBlock > 0 && request.kind == RequestKind::BlockRead && otherBlock) {
            answer = otherBlock(f.otherBlock);
        }
        if (f.replyWith) {
            answer = *f.replyWith;
            acknowledged = false;
        }
        if (f.cutTo >= 0) {
            answer.truncate(f.cutTo);
        }
        for (int i = 0; i < f.extraBytes; ++i) {
            answer.append(static_cast<char>(0x11 * (i % 15 + 1)));
        }
        std::vector<Transmission> out = split(answer, f, 0);
        for (int d = 0; d < f.duplicates; ++d) {
            const auto again = split(answer, f, f.duplicateGapMs);
            out.insert(out.end(), again.begin(), again.end());
        }
        if (!f.thenSend.isEmpty()) {
            out.push_back({f.thenSend, f.thenSendGapMs});
        }
        return out;
    }
    return {Transmission{reply, 0}};
}

} // namespace korvanex::sim
