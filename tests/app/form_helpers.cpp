#include "app/form_helpers.h"

#include "controls/dc_button.h"
#include "link/step_table.h"

namespace korvanex::testing {

bool FakeLine::setSettings(const QString& settings) {
    settings_ = settings;
    return true;
}

link::SerialLine::OpenResult FakeLine::Open() {
    events << QStringLiteral("open");
    open_ = openResult == OpenResult::Opened;
    return openResult;
}

void FakeLine::Close() {
    events << QStringLiteral("close");
    ++closes;
    open_ = false;
}

bool FakeLine::Output(const QByteArray& bytes) {
    writes.push_back(bytes);
    events << QStringLiteral("write ") + QString::fromLatin1(bytes.toHex(' ').toUpper());
    if (!open_ || failWrites) {
        return false;
    }
    if (responder) {
        const QByteArray reply = responder(bytes);
        if (!reply.isEmpty()) {
            queued_.push_back(reply);
        }
    }
    return true;
}

QByteArray FakeLine::Input() {
    QByteArray out;
    out.swap(input_);
    return out;
}

void FakeLine::Flush() {
    events << QStringLiteral("flush");
}

void FakeLine::arrive(const QByteArray& bytes) {
    if (!open_) {
        return;
    }
    input_ += bytes;
    if (OnComm) {
        OnComm();
    }
}

void FakeLine::deliverQueued() {
    while (!queued_.empty()) {
        const QByteArray reply = queued_.front();
        queued_.pop_front();
        arrive(reply);
    }
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values) {
        out.append(char(v));
    }
    return out;
}

QByteArray unitReply(const QByteArray& written) {
    if (written == bytes({0x3F})) {
        return bytes({0x52, 0x3A});
    }
    const QByteArray head = bytes({0xA5, 0x67, 0x33, 0x31, 0x31, 0x30});
    if (!written.startsWith(head) || written.size() < 9) {
        return {};
    }
    if (written.at(6) == 0x02 && written.at(7) == 0x01) { // link command 7F / 00
        return bytes({0x35, 0x82, 0x01, std::uint8_t(written.at(8))});
    }
    if (written.at(6) == 0x05 && written.size() >= 12 && written.at(9) == 0x10) { // block read
        const int block = written.at(10);
        QByteArray reply = bytes({0x10, block});
        reply.append(QByteArray(link::blockSize(block), '\0'));
        return reply;
    }
    return {};
}

FormHarness::FormHarness() {
    auto fake = std::make_unique<FakeLine>();
    line = fake.get();
    line->responder = unitReply;
    Form1::Options options;
    options.finder = [] { return QStringLiteral("ttyUSB0"); };
    options.prompter = &prompter;
    options.fileDialog = &dialog;
    options.quit = [this](int code) { quits.push_back(code); };
    options.line = std::move(fake);
    options.timers = clock.factory();
    options.clock = clock.monotonic();
    form = std::make_unique<Form1>(std::move(options));
}

FormHarness::~FormHarness() {
    form.reset();
}

void FormHarness::run(int ms) {
    for (int i = 0; i < ms; ++i) {
        clock.advance(1);
        line->deliverQueued();
    }
}

void FormHarness::connect(int ms) {
    form->mnulianji()->click();
    for (int i = 0; i < ms && !form->engine().LinkUp(); ++i) {
        run(1);
    }
}

} // namespace korvanex::testing
