// watch: follows the bus until SIGINT or SIGTERM, reporting controllers as
// they arrive and leave, and applying a profile to each that arrives.
#include "cli/CliCommands.h"
#include "cli/CliFleet.h"
#include "cli/CliOutput.h"

#include "cli/CliProfileFiles.h"
#include "core/files/ProfileFile.h"
#include "core/process/SignalWatcher.h"
#include "session/ControllerSession.h"

#include <QEventLoop>

namespace {

// The profile rules for one controller that just arrived, in a session of
// its own. A file is read again for each, so it may be edited meanwhile.
CliReport applyTo(ControllerSession &bus, const ControllerHandle &entry, const CliContext &outer,
                  const ParsedProfile &atStart)
{
    static const CliCommand apply{"watch", CliNeeds::Identified, false, nullptr, [](CliContext &ctx) {
                                      return applyProfile(*ctx.session, *ctx.profile, ctx.options.apply, false, ctx.report);
                                  }};
    const ParsedProfile profile = isStandardStream(outer.options.apply) ? atStart : readProfileArgument(outer.options.apply);
    CliContext ctx = outer;
    ctx.profile = &profile;
    ControllerSession session(entry);
    CliReport report;
    runOnController(bus, session, apply, ctx, report);
    return report;
}

} // namespace

CliOutcome runWatch(CliContext &ctx)
{
    CliOutput *out = ctx.output;
    out->setStream(true);
    ParsedProfile atStart;
    if (!ctx.options.apply.isEmpty()) {
        // A file that could never apply is refused before anything arrives.
        atStart = readProfileArgument(ctx.options.apply);
        if (const QString error = atStart.loadError(atStart.id); !error.isEmpty())
            return CliOutcome::failed(error, CliError::File);
    }
    SignalWatcher stop;
    QEventLoop loop;
    QObject::connect(&stop, &SignalWatcher::signalReceived, &loop, &QEventLoop::quit);

    const auto report = [out](const QString &serial, const char *event, Json extra = Json::object()) {
        Json data = {{"event", event}, {"serial", toJson(serial)}};
        data.update(extra);
        out->event(QStringLiteral("%1 %2").arg(serial, QLatin1String(event)), data);
    };
    const auto arrived = [&](const QString &serial, int index) {
        report(serial, "arrived");
        if (ctx.options.apply.isEmpty())
            return;
        const CliReport applied = applyTo(ctx.bus, ctx.bus.controllerHandles().at(index), ctx, atStart);
        Json extra = outcomeJson(applied.status, serial);
        extra.update(applied.data);
        report(serial, applied.status.ok() ? "applied" : "failed", extra);
        for (const QString &note : applied.notes)
            out->warn(QStringLiteral("%1: %2").arg(serial, note));
        if (!applied.status.ok())
            out->warn(QStringLiteral("%1: %2").arg(serial, applied.status.message()));
    };
    // Those present at the start arrive first.
    const QList<ControllerInfo> present = ctx.bus.controllers();
    for (int i = 0; i < present.size(); ++i)
        arrived(present[i].serial, i);
    const QMetaObject::Connection arrivals = QObject::connect(&ctx.bus, &ControllerSession::controllerArrived, &loop, arrived);
    const QMetaObject::Connection departures = QObject::connect(
        &ctx.bus, &ControllerSession::controllerLeft, &loop, [&](const QString &serial) { report(serial, "left"); });
    loop.exec();
    QObject::disconnect(arrivals);
    QObject::disconnect(departures);
    return {};
}
