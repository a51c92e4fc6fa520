// watch: follows the bus until SIGINT or SIGTERM, reporting controllers as
// they arrive and leave, and applying a profile to each that arrives.
#include "cli/CliCommands.h"
#include "cli/CliFleet.h"
#include "cli/CliOutput.h"

#include "core/files/ProfileFile.h"
#include "core/process/SignalWatcher.h"
#include "device/uComHid.h"
#include "session/ControllerSession.h"

#include <QEventLoop>

namespace {

// The profile rules for one controller that just arrived.
CliReport applyTo(const TDevListEntry &entry, const CliOptions &options)
{
    static const CliCommand apply{"watch", CliNeeds::Identified, false, nullptr,
                                  [](CliContext &ctx) { return ApplyProfile(*ctx.session, ctx.options.apply, ctx.report); }};
    TComHid hid(entry);
    ControllerSession session(&hid);
    session.select(0);
    CliReport report;
    RunOnController(session, hid, apply, options, report);
    return report;
}

} // namespace

CliStatus RunWatch(CliContext &ctx)
{
    CliOutput *out = ctx.output;
    if (!ctx.options.apply.isEmpty()) {
        // A file that could never apply is refused before anything arrives.
        const ParsedProfile profile = ProfileFile::readProfileFile(ctx.options.apply);
        if (const QString error = profile.loadError(profile.id); !error.isEmpty())
            return CliStatus::Failed(error);
    }
    SignalWatcher stop;
    QEventLoop loop;
    QObject::connect(&stop, &SignalWatcher::signalReceived, &loop, &QEventLoop::quit);

    QList<TDevListEntry> known;
    const auto report = [&](const QString &serial, const char *event, Json extra = Json::object()) {
        Json data = {{"event", event}, {"serial", toJson(serial)}};
        data.update(extra);
        out->event(QStringLiteral("%1 %2").arg(serial, QLatin1String(event)), data);
    };
    const auto follow = [&] {
        const QList<TDevListEntry> now = ctx.hid.devices();
        const auto contains = [](const QList<TDevListEntry> &list, const TDevListEntry &e) {
            return std::any_of(list.begin(), list.end(), [&e](const TDevListEntry &x) { return x.Object == e.Object; });
        };
        for (const TDevListEntry &e : known) {
            if (!contains(now, e))
                report(e.Text, "left");
        }
        for (const TDevListEntry &e : now) {
            if (contains(known, e))
                continue;
            report(e.Text, "arrived");
            if (ctx.options.apply.isEmpty())
                continue;
            const CliReport applied = applyTo(e, ctx.options);
            Json extra = {{"ok", applied.status.ok()}, {"exitCode", applied.status.code}};
            if (!applied.status.ok())
                extra["error"] = toJson(applied.status.message);
            extra.update(applied.data);
            report(e.Text, applied.status.ok() ? "applied" : "failed", extra);
            if (!applied.status.ok())
                out->warn(QStringLiteral("%1: %2").arg(e.Text, applied.status.message));
        }
        known = now;
    };
    follow();
    ctx.hid.replaceOnEnum(follow);
    loop.exec();
    ctx.hid.replaceOnEnum({});
    return {};
}
