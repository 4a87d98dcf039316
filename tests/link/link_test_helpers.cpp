#include "link_test_helpers.h"

#include "link/step_table.h"

namespace korvanex::link::testing {

QByteArray hex(const char* spaced) {
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

bool ScriptedLine::setSettings(const QString& settings) {
    settings_ = settings;
    log << QStringLiteral("setSettings ") + settings;
    return true;
}

void ScriptedLine::setCommPort(const QString& portName) {
    port_ = portName;
    log << QStringLiteral("setCommPort ") + portName;
}

SerialLine::OpenResult ScriptedLine::Open() {
    ++opens;
    log << QStringLiteral("open");
    open_ = nextOpen == OpenResult::Opened;
    return nextOpen;
}

void ScriptedLine::ClearOutBuffer() {
    ++outClears;
    log << QStringLiteral("clear out");
}

void ScriptedLine::Flush() {
    ++flushes;
    log << QStringLiteral("flush");
}

void ScriptedLine::Close() {
    log << QStringLiteral("close");
    open_ = false;
    inbox_.clear();
}

bool ScriptedLine::Output(const QByteArray& bytes) {
    if (!open_ || failWrites) {
        return false;
    }
    log << QStringLiteral("write");
    writes.push_back({clock_.now(), bytes});
    return true;
}

QByteArray ScriptedLine::Input() {
    QByteArray bytes;
    bytes.swap(inbox_);
    return bytes;
}

void ScriptedLine::ClearInBuffer() {
    ++inClears;
    log << QStringLiteral("clear in");
    inbox_.clear();
}

void ScriptedLine::feed(const QByteArray& bytes) {
    if (!open_) {
        return;
    }
    inbox_ += bytes;
    if (OnComm) {
        OnComm();
    }
}

void ScriptedLine::unplug() {
    open_ = false;
    inbox_.clear();
    if (OnDeviceLost) {
        OnDeviceLost();
    }
}

Rig::Rig() : engine(line, bar, prompter, clock.factory(), [this] { return portFound; }) {
    engine.setAppliers(&appliers);
    engine.setClock(clock.monotonic());
    engine.setQuit([this](int code) { quits.push_back(code); });
}

std::vector<QByteArray> Rig::writtenSince(std::size_t from) const {
    std::vector<QByteArray> out;
    for (std::size_t i = from; i < line.writes.size(); ++i) {
        out.push_back(line.writes[i].bytes);
    }
    return out;
}

QByteArray Rig::nextWrite(std::int64_t limitMs) {
    const std::size_t before = line.writes.size();
    const std::int64_t end = clock.now() + limitMs;
    while (line.writes.size() == before && clock.now() < end) {
        clock.advance(1);
    }
    return line.writes.size() > before ? line.writes.back().bytes : QByteArray();
}

void Rig::connect() {
    engine.mnulianji_Click();
    nextWrite();
    line.feed(hex("52 3A"));
    nextWrite();
    line.feed(hex("35 82 01 7F"));
    for (int block = 1; block <= 5; ++block) {
        nextWrite();
        line.feed(blockReply(block, blockSize(block)));
    }
}

void Rig::disconnect() {
    engine.mnutuoji_Click();
    nextWrite();
    line.feed(hex("52 3A"));
    nextWrite();
    line.feed(hex("35 82 01 00"));
}

QStringList Rig::boxTexts() const {
    QStringList texts;
    for (const auto& box : prompter.boxes) {
        texts << box.text;
    }
    return texts;
}

LinkStore request(int step, StoreTest test) {
    return {.test = test, .step = step};
}

LinkStore recall(int mode, int preset, int block) {
    return {.test = StoreTest::LinkUpAndReady,
            .step = 52,
            .RecallMode = mode,
            .RecallPreset = preset,
            .NextBlock = block,
            .DeviceReady = false};
}

QByteArray blockReply(int block, int size, int first) {
    QByteArray reply;
    reply.append(char(0x10));
    reply.append(static_cast<char>(block));
    for (int i = 0; i < size; ++i) {
        reply.append(static_cast<char>((first + i) & 0xFF));
    }
    return reply;
}

} // namespace korvanex::link::testing
