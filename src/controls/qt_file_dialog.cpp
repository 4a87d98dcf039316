#include "controls/qt_file_dialog.h"

#include "controls/window_font.h"

#include <QFileDialog>
#include <QFileInfo>

namespace korvanex {

QStringList QtFileDialog::nameFilters(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString& description = parts[i];
        if (i + 1 >= parts.size()) {
            out.append(description);
            break;
        }
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        const QString own = u'(' + patterns + u')';
        out.append(description.endsWith(own) ? description : description + u' ' + own);
    }
    return out;
}

std::unique_ptr<QFileDialog> QtFileDialog::build(bool save, const QString& title,
                                                 const QString& filter) const {
    auto dialog = std::make_unique<QFileDialog>(parent_, title);
    // A window of its own: it does not take the main window's font.
    useChineseFamilies(*dialog);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // No default suffix: a name typed without one is used as typed. The save dialog keeps
    // Qt's question before an existing file is replaced.
    dialog->setNameFilters(nameFilters(filter));
    if (!fileName_.isEmpty()) {
        const QFileInfo last(fileName_);
        dialog->setDirectory(last.absolutePath());
        dialog->selectFile(last.fileName());
    }
    return dialog;
}

std::optional<QString> QtFileDialog::run(bool save, const QString& title, const QString& filter) {
    const std::unique_ptr<QFileDialog> dialog = build(save, title, filter);
    if (dialog->exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QString chosen = dialog->selectedFiles().value(0);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    fileName_ = chosen;
    return chosen;
}

std::optional<QString> QtFileDialog::ShowSave(const QString& title, const QString& filter) {
    return run(true, title, filter);
}

std::optional<QString> QtFileDialog::ShowOpen(const QString& title, const QString& filter) {
    return run(false, title, filter);
}

} // namespace korvanex
