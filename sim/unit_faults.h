#pragma once
// Faults a test scripts into the simulated unit. A fault applies to the requests it matches:
// it can keep the unit silent for a number of sends (or for good), and it can shape the
// answers it lets through: another reply in place of the right one (wrong code, garbage), a
// block cut short or padded, a different block than asked, the reply split into chunks with
// gaps, duplicates, and extra bytes sent after it (an unsolicited probe answer, say).

#include "unit_frame_parser.h"

#include <QByteArray>
#include <functional>
#include <optional>
#include <vector>

namespace korvanex::sim {

struct RequestMatch {
    std::optional<RequestKind> kind;   // any kind when empty
    std::optional<std::uint8_t> group; // Parameter and Link
    std::optional<std::uint8_t> item;  // Parameter; the command of a Link request
    std::optional<std::uint8_t> block; // BlockRead

    bool matches(const UnitRequest& request) const;
};

// One piece of an answer: its bytes go out `gapMs` after the previous piece has gone out
// (after the request, for the first piece).
struct Transmission {
    QByteArray bytes;
    int gapMs = 0;
};

struct Fault {
    RequestMatch when;
    // Matching requests that get no answer before one is answered; -1: none is ever answered.
    // With k, the k-th resend (send k + 1) is the first one answered.
    int silentSends = 0;
    // Answered requests this fault still shapes; -1: every one. Silence is not counted here.
    int uses = -1;

    std::optional<QByteArray> replyWith; // sent in place of the right reply
    int cutTo = -1;                      // the reply is cut to this many bytes
    int extraBytes = 0;                  // filler bytes appended to the reply
    int otherBlock = 0;                  // a block read is answered with this block instead
    std::vector<int> chunkSizes;         // split: the sizes of the leading chunks
    int chunkGapMs = 0;
    int duplicates = 0; // the whole reply is sent again this many times
    int duplicateGapMs = 0;
    QByteArray thenSend; // sent after the reply
    int thenSendGapMs = 0;

    // The request is acknowledged as it should be: the unit keeps its value.
    bool keepsValue() const { return !replyWith.has_value(); }
};

class FaultScript {
public:
    void add(Fault fault) { faults_.push_back(Entry{std::move(fault), 0}); }
    void clear() { faults_.clear(); }
    bool empty() const { return faults_.empty(); }

    // What goes out for `request` whose proper reply is `reply`. Sets `acknowledged` false when
    // the unit stays silent or answers something else, so the unit does not take the value.
    std::vector<Transmission> shape(const UnitRequest& request, const QByteArray& reply,
                                    const std::function<QByteArray(int)>& otherBlock,
                                    bool& acknowledged);

private:
    struct Entry {
        Fault fault;
        int silenced = 0;
    };
    std::vector<Entry> faults_;
};

} // namespace korvanex::sim
