#include "presets/parameter_file_handlers.h"

#include "core/busy_scope.h"
#include "core/file_dialog.h"
#include "core/messages.h"
#include "core/prompter.h"
#include "link/link_engine.h"
#include "presets/ktv_codec.h"
#include "presets/page_record.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace korvanex {

namespace {

// Band lines take the user's decimal separator when it is a comma, '.' otherwise.
ktv::DecimalPoint userDecimalPoint() {
    return QLocale().decimalPoint() == QStringLiteral(",") ? ktv::DecimalPoint::Comma
                                                           : ktv::DecimalPoint::Dot;
}

} // namespace

ParameterFileHandlers::ParameterFileHandlers(PageSet& pages, link::LinkEngine& link,
                                             Prompter& prompter, FileDialog& dialog)
    : pages_(pages), link_(link), prompter_(prompter), dialog_(dialog) {}

void ParameterFileHandlers::critical(const char* text, const char* title) {
    prompter_.show(msg::text(text), msg::text(title), BoxIcon::Critical);
}

bool ParameterFileHandlers::linkUp() {
    if (link_.LinkUp()) {
        return true;
    }
    critical(msg::kOnlineOnly, msg::kSystemTitle);
    return false;
}

bool ParameterFileHandlers::writeFile(const QString& name, const QByteArray& bytes) {
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // A write that fails inside the buffer only shows at flush(); commit() alone could then
    // put a short file in place of the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
    }
    return file.commit();
}

void ParameterFileHandlers::dcButton13_Click() {
    if (busy_) {
        return;
    }
    const BusyScope running(busy_);
    if (!linkUp()) {
        return;
    }
    const std::optional<QString> name =
        dialog_.ShowSave(msg::text(msg::kSaveDialogTitle), msg::text(msg::kFileFilter));
    if (!name) {
        return;
    }
    const QByteArray bytes = ktv::write(gatherRecord(pages_), userDecimalPoint());
    if (!writeFile(*name, bytes)) {
        critical(msg::kSaveFailed, msg::kSystemTitle);
        return;
    }
    prompter_.show(msg::text(msg::kSavedToPc), msg::text(msg::kSystemTitle), BoxIcon::Information);
}

void ParameterFileHandlers::dcButton14_Click() {
    if (busy_) {
        return;
    }
    const BusyScope running(busy_);
    if (!linkUp()) {
        return;
    }
    const std::optional<QString> name =
        dialog_.ShowOpen(msg::text(msg::kOpenDialogTitle), msg::text(msg::kFileFilter));
    if (!name) {
        return;
    }
    // Only a regular file (or a link to one) is opened: opening a named pipe waits for a
    // writer for good, and a device reads as endless or empty.
    QFile file(*name);
    if (!QFileInfo(*name).isFile() || !file.open(QIODevice::ReadOnly)) {
        critical(msg::kFileOpenFailed, msg::kSystemTitle);
        return;
    }
    // A file too large is refused before it is read; one byte past the limit is enough to
    // refuse one whose size the system does not tell.
    if (file.size() > ktv::kMaxFileBytes) {
        critical(msg::kBadFile, msg::kWindowCaption);
        return;
    }
    const QByteArray bytes = file.read(ktv::kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        critical(msg::kFileOpenFailed, msg::kSystemTitle);
        return;
    }
    file.close();
    const ktv::ReadResult result = ktv::read(bytes);
    if (!result.record) {
        critical(msg::kBadFile, msg::kWindowCaption);
        return;
    }
    // The graphs' band echoes send nothing while the unit is not ready.
    link_.store({.test = link::StoreTest::Always, .DeviceReady = false});
    applyRecord(pages_, *result.record);
    // The link may have ended while the dialog was open: then nothing goes out.
    if (!link_.store({.test = link::StoreTest::LinkUp, .step = kDownloadStep})) {
        link_.DisableTimer3();
    }
}

} // namespace korvanex
