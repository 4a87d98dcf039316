// Every committed corpus file runs through its fuzz target, so inputs that once crashed a
// target (and the seeds) keep being checked without a fuzzer. A target aborts on a broken
// promise, which fails the test.
#include "fuzz/targets/ktv_read_target.h"
#include "fuzz/targets/reply_judge_target.h"
#include "fuzz/targets/unit_frame_parser_target.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using Target = int (*)(const std::uint8_t*, std::size_t);

// Runs every file of the corpus folder; returns how many ran.
int replay(const char* folder, Target target) {
    const QDir dir(QStringLiteral(KORVANEX_FUZZ_CORPUS_DIR "/") + QLatin1String(folder));
    int count = 0;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "cannot read " << name.toStdString();
            continue;
        }
        const QByteArray bytes = file.readAll();
        SCOPED_TRACE(name.toStdString());
        target(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
               static_cast<std::size_t>(bytes.size()));
        ++count;
    }
    return count;
}

} // namespace

// Catches: a unit frame input that once crashed the parser crashing it again.
TEST(FuzzCorpusReplay, UnitFramesCorpusRunsClean) {
    EXPECT_GT(replay("unit_frames", &fuzzUnitFrameParser), 0) << "the corpus is missing";
    fuzzUnitFrameParser(nullptr, 0);
}

// Catches: a reply that once crashed the reply judgement crashing it again.
TEST(FuzzCorpusReplay, ReplyJudgeCorpusRunsClean) {
    EXPECT_GT(replay("reply_judge", &fuzzReplyJudge), 0) << "the corpus is missing";
    fuzzReplyJudge(nullptr, 0);
}

// Catches: a parameter file that once crashed the reader, or broke its promises, doing so
// again.
TEST(FuzzCorpusReplay, KtvReadCorpusRunsClean) {
    EXPECT_GT(replay("ktv_read", &fuzzKtvRead), 0) << "the corpus is missing";
    fuzzKtvRead(nullptr, 0);
}
