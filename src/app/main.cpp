#include "app/CommandLine.h"
#include "core/process/ProgramArguments.h"
#include "core/process/SignalWatcher.h"
#include "core/text/VisibleText.h"
#include "app/SingleInstance.h"
#include "ui/dialogs/uMessageBox.h"
#include "ui/main/uMain.h"
#include "core/protocol/ReportTrace.h"
#include "device/SimBus.h"
#include "device/SimController.h"
#include "device/SimFaultList.h"
#include "device/SimState.h"
#include "device/SystemHidController.h"
#include "core/i18n/LanguageManager.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <ctime>
#include <memory>

#include <unistd.h>

namespace {

// Milliseconds since the kernel started this process (10 ms resolution).
qint64 msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    timespec now{};
    if (!stat.open(QIODevice::ReadOnly) || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return -1;
    const QByteArray line = stat.readAll();
    // Field 22 (start time in clock ticks since boot); the command name in
    // field 2 may hold blanks, so count from its closing parenthesis.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    bool ok = false;
    const qint64 startTicks = fields.value(19).toLongLong(&ok);
    if (!ok)
        return -1;
    const qint64 startMs = startTicks * 1000 / sysconf(_SC_CLK_TCK);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000 - startMs;
}

// For the start-up benchmark and the screenshot script: with
// CORVANE_BENCH_STARTUP=1 the first filled editor is reported on standard
// error; with CORVANE_BENCH_EXIT=1 too, the program then closes.
void reportStartup(TMain &window)
{
    if (qEnvironmentVariableIntValue("CORVANE_BENCH_STARTUP") != 1)
        return;
    const bool exitAfter = qEnvironmentVariableIntValue("CORVANE_BENCH_EXIT") == 1;
    auto once = std::make_shared<QMetaObject::Connection>();
    *once = QObject::connect(&window, &TMain::DeviceOpened, &window, [&window, once, exitAfter] {
        QObject::disconnect(*once);
        std::fprintf(stderr, "editor filled after %lld ms\n", static_cast<long long>(msSinceProcessStart()));
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
    SimBus bus;
    bus.AddSane(cmd.simulate);
    SimState *state = AttachSimState(bus, cmd.simulateState);
    QString faultError;
    if (!cmd.simulateFaults.isEmpty() && !applySimFaults(bus, cmd.simulateFaults, &faultError)) {
        std::fprintf(stderr, "corvane-config: %s\nTry 'corvane-config --help' for more information.\n",
                     qPrintable(visibleText(faultError)));
        return 2;
    }

    TMainSetup setup;
    setup.ControllerFactory = [&bus, simulate = cmd.simulate]() -> std::unique_ptr<HidController> {
        if (simulate > 0)
            return std::make_unique<SimController>(&bus);
        return MakeSystemHidController();
    };
    if (cmd.trace)
        setup.Trace = [](bool sent, const uint8_t *r) {
            std::fprintf(stderr, "%s\n", qPrintable(ReportTraceLine(sent, r)));
        };
    setup.DeveloperMode = cmd.developerMode;

    TMain Main(std::move(setup));
    QObject::connect(&instance, &SingleInstance::activated, &Main, &TMain::BringToFront);
    // Shown once the command that triggered the save has ended, never in the middle of it.
    if (state)
        QObject::connect(state, &SimState::SaveFailed, &Main, [](const QString &text) { ShowError(text); },
                         Qt::QueuedConnection);

    // SIGINT and SIGTERM close the window the normal way, so the settings
    // are written when a session ends; quit also ends any open message box.
    SignalWatcher stopSignals;
    QObject::connect(&stopSignals, &SignalWatcher::signalReceived, &Main, [&Main] {
        Main.close();
        QCoreApplication::quit();
    });

    reportStartup(Main);
    Main.show();
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
        cmd = CommandLine::Parse(arguments);
    else
        cmd.error = error;
    if (!cmd.error.isEmpty()) {
        std::fprintf(stderr, "corvane-config: %s\nTry 'corvane-config --help' for more information.\n",
                     qPrintable(visibleText(cmd.error)));
        return 2;
    }
    if (cmd.help) {
        std::fputs(qPrintable(UsageText(QFileInfo(arguments.first()).fileName())), stdout);
        return 0;
    }
    if (cmd.version) {
        std::puts("CORVANE Config Tool v1.1.4");
        return 0;
    }

    initLocalisation();
    const int rc = runWindow(argc, argv, arguments, cmd);
    shutdownLocalisation();
    return rc;
}
