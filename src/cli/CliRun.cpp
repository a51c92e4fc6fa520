#include "cli/CliRun.h"

#include "cli/CliCommands.h"
#include "cli/CliFleet.h"
#include "cli/CliOptions.h"
#include "cli/CliLogRoute.h"
#include "cli/CliOutput.h"
#include "cli/CliProfileFiles.h"
#include "core/Version.h"
#include "core/files/ProfileFile.h"
#include "core/protocol/ReportTrace.h"
#include "device/SimBus.h"
#include "device/Simulation.h"
#include "device/SimController.h"
#include "device/SimFaultList.h"
#include "device/SimState.h"
#include "device/SystemHidController.h"
#include "session/ControllerHints.h"
#include "session/ControllerLock.h"
#include "session/ControllerSession.h"

#include <QCoreApplication>
#include <QScopeGuard>

#include <memory>

namespace {

// The controllers to talk to: the given bus, simulated ones, or USB.
HidControllerFactory controllerFactory(SimBus *bus)
{
    if (bus)
        return [bus] { return std::make_unique<SimController>(bus); };
    return [] { return makeSystemHidController(); };
}

// The one controller a command without --all works on.
CliReport runOnOne(const CliCommand &command, const CliContext &outer)
{
    CliReport report;
    ControllerSession &bus = outer.bus;
    if (command.needs == CliNeeds::Nothing || command.needs == CliNeeds::Bus) {
        CliContext inner{bus, nullptr, outer.options, report, outer.output, outer.profile};
        report.status = command.run(inner);
    } else if (const SessionResult r = bus.selectSerial(outer.options.device); !r.ok()) {
        // Found, but more than one.
        report.status = {r, CliError::Ambiguous};
    } else {
        runOnController(bus, bus, command, outer, report);
    }
    return report;
}

// A change the simulated controller accepted but could not keep is no success.
void noteUnsaved(const SimState *state, const QString &error, CliReport &report, CliOutput &output)
{
    if (!state || error.isEmpty())
        return;
    if (report.status.ok())
        report.status = CliOutcome::failed(error, CliError::File);
    else
        output.warn(error);
}

} // namespace

int runCli(const QStringList &arguments, QTextStream &out, QTextStream &err, SimBus *bus)
{
    CliOptions options;
    QString error;
    const bool parsed = CliOptions::parse(arguments, &options, &error);
    CliOutput output(out, err, options.json);
    if (!parsed)
        return output.usage(options.command, CliOutcome::usage(error));
    if (options.help) {
        out << cliHelpText();
        return ExitOk;
    }
    if (options.version) {
        out << "corvane-cli v" CORVANE_VERSION "\n";
        return ExitOk;
    }
    const CliCommand *command = findCliCommand(options.command);
    if (!command)
        return output.usage(options.command, CliOutcome::usage(QStringLiteral("unknown command \"%1\"").arg(options.command)));
    if (options.all && !command->fleet)
        return output.usage(options.command, CliOutcome::usage(QStringLiteral("%1 does not take --all").arg(options.command)));
    if (const CliOutcome checked = command->check(options); !checked.ok())
        return output.usage(options.command, checked);
    const LogRoute logs(options.verbose || options.trace ? &err : nullptr);
    // Working without controller locks is said once, --verbose or not.
    ControllerLock::setUnguardedNotice([&output](const QString &text) { output.warn(text); });
    const auto noticeEnds = qScopeGuard([] { ControllerLock::setUnguardedNotice({}); });

    Simulation sim;
    if (!bus) {
        sim = startSimulation(options.simulate, options.simulateState, options.simulateFaults);
        if (!sim.ok())
            return output.usage(options.command, CliOutcome::usage(sim.error));
        if (!sim.warning.isEmpty())
            output.warn(sim.warning);
        bus = sim.bus.get();
    } else if (!options.simulateFaults.isEmpty() && !applySimFaults(*bus, options.simulateFaults, &error)) {
        return output.usage(options.command, CliOutcome::usage(error));
    }
    // One profile for every controller, read before any is touched.
    const ParsedProfile profile = options.command == QLatin1String("load-profile") ? readProfileArgument(options.args.first())
                                                                                   : ParsedProfile();
    SimState *state = sim.state;

    ControllerSession session;
    if (command->needs != CliNeeds::Nothing) {
        TComHid::TraceSink trace;
        if (options.trace && !options.all) {
            trace = [&err](bool sent, const uint8_t *report) {
                err << reportTraceLine(sent, report) << '\n';
                err.flush();
            };
        }
        // The first scan is reported at once; events the bus queued meanwhile
        // are delivered before the command runs.
        session.start(controllerFactory(bus), trace);
        QCoreApplication::processEvents();
        // Without HID access every controller would look absent.
        if (const QString problem = session.startError(); !problem.isEmpty())
            return output.finish(options.command, CliReport::failed(CliOutcome::failed(problem, CliError::Communication)));
    }

    CliReport unused;
    const CliContext outer{session, nullptr, options, unused, &output, &profile};
    int code = ExitOk;
    if (options.all) {
        // The changes the controllers' threads announced are saved while
        // the controllers are still held, and before they are judged.
        auto reports = runOnEveryController(session, *command, outer, [] { QCoreApplication::processEvents(); });
        for (auto &[serial, report] : reports)
            noteUnsaved(state, state ? state->saveError(serial) : QString(), report, output);
        code = reports.isEmpty() ? output.finish(options.command, CliReport::failed(SessionResult::noController(noControllerMessage())))
                                 : output.finishAll(options.command, reports);
    } else {
        CliReport report = runOnOne(*command, outer);
        noteUnsaved(state, state ? state->saveError() : QString(), report, output);
        code = output.finish(options.command, report);
    }
    // Whatever the controllers announced (a restart, a changed state) is
    // handled before the run ends.
    QCoreApplication::processEvents();
    return code;
}
