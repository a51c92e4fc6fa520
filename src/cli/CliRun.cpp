#include "cli/CliRun.h"

#include "cli/CliCommands.h"
#include "cli/CliOptions.h"
#include "device/SimBus.h"
#include "device/SimController.h"
#include "device/SimState.h"
#include "device/SystemHidController.h"

#include <memory>

namespace {
// The controllers to talk to: the given bus, simulated ones, or USB.
HidControllerFactory controllerFactory(SimBus *bus)
{
    if (bus)
        return [bus] { return std::make_unique<SimController>(bus); };
    return [] { return MakeSystemHidController(); };
}

CliStatus prepare(CliNeeds needs, CliDeviceSession &session, const QString &serial, CliOutput &out)
{
    if (needs == CliNeeds::Bus)
        return {};
    CliStatus s = session.Select(serial);
    if (!s.ok())
        return s;
    out.Set(QStringLiteral("serial"), session.Serial());
    if (needs == CliNeeds::Identified)
        s = session.Identify();
    return s;
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

    CliDeviceSession session(controllerFactory(bus));
    if (options.trace)
        session.TraceTo(err);
    session.Start();
    CliStatus status = prepare(command->needs, session, options.device, output);
    if (status.ok()) {
        CliContext ctx{session, output, options.args};
        status = command->run(ctx);
    }
    return output.Finish(options.command, status);
}
