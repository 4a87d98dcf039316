// The editor: one window, the unit reached over the CH341 bridge. It reads no command line or
// configuration: the port is found by the bridge's USB identifiers. From the environment it
// takes the system's language, for Qt's own texts, and the locale's decimal point.

#include "app/form1.h"
#include "app/qt_translations.h"

#include <QApplication>
#include <memory>

namespace {

// Creates the main window and shows it; the program then runs until the window closes.
std::unique_ptr<korvanex::Form1> Main() {
    auto window = std::make_unique<korvanex::Form1>(korvanex::Form1::Options{});
    window->show();
    return window;
}

} // namespace

int main(int, char**) {
    // Qt is handed the program name only, so that no option of the command line is read.
    static char programName[] = "korvanex";
    static char* qtArgv[] = {programName, nullptr};
    int qtArgc = 1;
    QApplication app(qtArgc, qtArgv);
    korvanex::installQtTranslations(app, QLocale::system());
    const auto window = Main();
    return app.exec();
}
