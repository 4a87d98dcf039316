// The editor's main window against the simulated unit on a pseudo-terminal, for trying the
// program without the processor. `--port PATH` uses that serial device instead (an external
// test peer, a real bridge). The unit answers at the line rate of 38400 baud with a short
// latency, as the processor does.

#include "app/form1.h"
#include "app/qt_translations.h"
#include "sim/pty_unit.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <memory>

namespace {

constexpr int kUnitLatencyMs = 2;

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("korvanex-demo"));
    korvanex::installQtTranslations(app, QLocale::system());

    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Korvanex with a simulated unit on a pseudo-terminal."));
    options.addHelpOption();
    const QCommandLineOption portOption(
        QStringLiteral("port"),
        QStringLiteral("Use the serial device PATH instead of the simulated unit."),
        QStringLiteral("PATH"));
    options.addOption(portOption);
    options.process(app);

    std::unique_ptr<korvanex::sim::PtyUnit> unit;
    QString port = options.value(portOption);
    if (port.isEmpty()) {
        unit = std::make_unique<korvanex::sim::PtyUnit>();
        if (!unit->isPluggedIn()) {
            std::fprintf(stderr, "korvanex-demo: no pseudo-terminal for the unit: %s\n",
                         qPrintable(unit->errorString()));
            return 1;
        }
        unit->setLine({korvanex::sim::PtyUnit::kLineRateUsPerByte, kUnitLatencyMs});
        port = unit->portPath();
        std::fprintf(stderr, "korvanex-demo: simulated unit on %s\n", qPrintable(port));
    }

    korvanex::Form1::Options windowOptions;
    windowOptions.finder = [port] { return port; };
    korvanex::Form1 window(std::move(windowOptions));
    window.show();
    return QApplication::exec();
}
