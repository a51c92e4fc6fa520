#include "cli/CliRun.h"

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "device/SimBus.h"
#include "device/SimController.h"
#include "device/SimState.h"
#include "device/SystemHidController.h"
#include "device/uComHid.h"
#include "core/protocol/ReportTrace.h"
#include "session/ControllerSession.h"

#include <QCoreApplication>

#include <memory>

namespace {
// The controllers to talk to: the given bus, simulated ones, or USB.
HidControllerFactory controllerFactory(SimBus *bus)
{
    if (bus)
        return [bus] { return std::make_unique<SimController>(bus); };
    return [] { return MakeSystemHidController(); };
}

CliStatus prepare(CliNeeds needs, ControllerSession &session, const QString &serial, CliOutput &out)
{
    if (needs == CliNeeds::Bus)
        return {};
    if (const SessionResult r = session.selectSerial(serial); !r.ok())
        return CliStatus::From(r);
    out.Set(QStringLiteral("serial"), session.serial());
    if (needs != CliNeeds::Identified)
        return {};
    TDeviceReadouts readouts;
    bool identified = false;
    if (const SessionResult r = session.identify(readouts, &identified); !r.ok())
        return CliStatus::From(r);
    // A controller without firmware gets no error box in the window, only
    // this read-out; here it is the reason the command stops.
    if (!identified)
        return CliStatus::Failed(readouts.Info);
    return {};
}
} // namespace

int RunCli(const QStringList &arguments, QTextStream &out, QTextStream &err, SimBus *bus)
{
    CliOptions options;
    QString error;
    const bool parsed = CliOptions::Parse(arguments, &options, &error);
    CliOutput output(out, err, options.json);
    if (!parsed)
        return output.Finish(options.command, CliStatus::Usage(error));
    if (options.help) {
        out << CliUsageText();
        return ExitOk;
    }
    if (options.version) {
        out << "corvane-cli v" CORVANE_VERSION "\n";
        return ExitOk;
    }
    const CliCommand *command = FindCliCommand(options.command);
    if (!command)
        return output.Finish(options.command,
                             CliStatus::Usage(QStringLiteral("unknown command \"%1\"").arg(options.command)));
    if (!command->check(options.args, &error))
        return output.Finish(options.command, CliStatus::Usage(QStringLiteral("%1: %2").arg(options.command, error)));

    std::unique_ptr<SimBus> ownBus;
    if (!bus && options.simulate > 0) {
        ownBus = std::make_unique<SimBus>();
        ownBus->AddSane(options.simulate);
        QString warning;
        SimState *state = SimState::Attach(*ownBus, options.simulateState, &warning);
        state->OnWarning = [&output](const QString &text) { output.Warn(text); };
        if (!warning.isEmpty())
            output.Warn(warning);
        bus = ownBus.get();
    }

    TComHid hid(controllerFactory(bus));
    if (options.trace) {
        hid.SetTrace([&err](bool sent, const uint8_t *report) {
            err << ReportTraceLine(sent, report) << '\n';
            err.flush();
        });
    }
    // The first scan is reported at once; events the bus queued meanwhile
    // are delivered before the command runs.
    hid.SetOnEnum([] {});
    QCoreApplication::processEvents();
    ControllerSession session(&hid);
    CliStatus status = prepare(command->needs, session, options.device, output);
    if (status.ok()) {
        CliContext ctx{hid, session, output, options.args};
        status = command->run(ctx);
    }
    return output.Finish(options.command, status);
}
