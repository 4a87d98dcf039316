#pragma once
// Qt's own texts (the message boxes' buttons, the file dialogs' labels and questions) in the
// user's language, as the platform's own boxes are. The window's texts are Chinese whatever
// the language; these follow the system.

#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace korvanex {

// Installs Qt's translation for `locale` (QLocale::system() at start) into the application,
// which then owns it. Returns it, or null when Qt has none for that language (English, C).
QTranslator* installQtTranslations(QCoreApplication& app, const QLocale& locale);

} // namespace korvanex
