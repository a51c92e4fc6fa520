#include "app/CommandLine.h"
#include "core/Version.h"
#include "core/process/ProgramArguments.h"
#include "core/process/SignalWatcher.h"
#include "core/text/VisibleText.h"
#include "app/SingleInstance.h"
#include "app/StartupReport.h"
#include "ui/dialogs/uMessageBox.h"
#include "ui/main/uMain.h"
#include "core/protocol/ReportTrace.h"
#include "device/SimBus.h"
#include "device/SimController.h"
#include "device/Simulation.h"
#include "device/SimState.h"
#include "device/SystemHidController.h"
#include "core/i18n/LanguageManager.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <memory>

namespace {

// For the benchmark and the screenshot script: with CORVANE_BENCH_STARTUP=1
// the first paint and the first filled editor are reported on standard
// error; with CORVANE_BENCH_EXIT=1 too, the program then closes.
void reportStartup(TMain &window)
{
    if (qEnvironmentVariableIntValue("CORVANE_BENCH_STARTUP") != 1)
        return;
    new FirstPaintReport(&window);
    const bool exitAfter = qEnvironmentVariableIntValue("CORVANE_BENCH_EXIT") == 1;
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = QObject::connect(&window, &TMain::deviceOpened, &window, [&window, once, exitAfter] {
        QObject::disconnect(*once);
        reportMoment("editor filled");
        if (exitAfter)
            QTimer::singleShot(0, &window, &TMain::close);
    });
}

int runWindow(int argc, char **argv, const QStringList &arguments, const CommandLine &cmd)
{
    QApplication app(argc, argv);
    // Before anything asks for a standard path: ~/.config/corvane/corvane-config.
    QApplication::setOrganizationName(QStringLiteral("corvane"));
    QApplication::setApplicationName(QStringLiteral("corvane-config"));

    // A second copy hands its arguments to the first, which comes to the
    // front, and ends before it has a window or reads any setting.
    SingleInstance instance;
    if (!instance.tryToRun(arguments))
        return 0;

    // The simulated bus outlives the window that talks to it.
    Simulation sim = startSimulation(cmd.simulate, cmd.simulateState, cmd.simulateFaults);
    if (!sim.ok()) {
        std::fprintf(stderr, "corvane-config: %s\nTry 'corvane-config --help' for more information.\n",
                     qPrintable(visibleText(sim.error)));
        return 2;
    }
    if (!sim.warning.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(sim.warning));
    SimState *state = sim.state;
    if (state)
        state->onWarning = [](const QString &text) { std::fprintf(stderr, "%s\n", qPrintable(text)); };

    MainSetup setup;
    setup.controllerFactory = [bus = sim.bus.get()]() -> std::unique_ptr<HidController> {
        if (bus)
            return std::make_unique<SimController>(bus);
        return makeSystemHidController();
    };
    if (cmd.trace)
        setup.trace = [](bool sent, const uint8_t *r) {
            std::fprintf(stderr, "%s\n", qPrintable(reportTraceLine(sent, r)));
        };
    setup.developerMode = cmd.developerMode;

    TMain main(std::move(setup));
    QObject::connect(&instance, &SingleInstance::activated, &main, &TMain::bringToFront);
    // Shown once the command that triggered the save has ended, never in the middle of it.
    if (state)
        QObject::connect(state, &SimState::saveFailed, &main, [](const QString &text) { showError(text); },
                         Qt::QueuedConnection);

    // SIGINT and SIGTERM close the window the normal way, so the settings
    // are written when a session ends; quit also ends any open message box.
    SignalWatcher stopSignals;
    QObject::connect(&stopSignals, &SignalWatcher::signalReceived, &main, [&main] {
        main.close();
        QCoreApplication::quit();
    });

    reportStartup(main);
    main.show();
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    // hidapi converts serial numbers with mbstowcs: use the user's encoding.
    std::setlocale(LC_CTYPE, "");

    QStringList arguments;
    QString error;
    CommandLine cmd;
    if (decodeArguments(argc, argv, &arguments, &error))
        cmd = CommandLine::parse(arguments);
    else
        cmd.error = error;
    if (!cmd.error.isEmpty()) {
        std::fprintf(stderr, "corvane-config: %s\nTry 'corvane-config --help' for more information.\n",
                     qPrintable(visibleText(cmd.error)));
        return 2;
    }
    if (cmd.help) {
        std::fputs(qPrintable(usageText(QFileInfo(arguments.first()).fileName())), stdout);
        return 0;
    }
    if (cmd.version) {
        std::puts("CORVANE Config Tool v" CORVANE_VERSION);
        return 0;
    }

    initLocalisation();
    const int rc = runWindow(argc, argv, arguments, cmd);
    shutdownLocalisation();
    return rc;
}
