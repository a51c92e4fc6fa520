// The commands that change or save the configuration: set, save-profile,
// load-profile. Each reads the whole configuration first, so that only
// changed parameters are written and the layout is checked as a whole.
#include "cli/CliCommands.h"
#include "cli/CliParamArgs.h"

#include "core/files/ProfileFile.h"
#include "core/protocol/ParamTags.h"
#include "session/ControllerSession.h"

namespace {
// Checks and writes what changed, then reports what was written, also when
// a later write is refused.
SessionResult writeChanged(CliContext &ctx)
{
    const QList<TCfgData> before = ctx.session.cfg().CfgOrig;
    const SessionResult r = ctx.session.writeChanged(ctx.session.paramArrangement(), ctx.session.ticket());
    QList<TCfgData> written;
    const QList<TCfgData> &after = ctx.session.cfg().CfgOrig;
    for (qsizetype i = 0; i < qMin(before.size(), after.size()); ++i) {
        if (after[i].Value != before[i].Value)
            written.append(after[i]);
    }
    ReportParams(ctx.out, QStringLiteral("written"), written);
    return r;
}
} // namespace

CliStatus RunSet(CliContext &ctx)
{
    QList<ParamAssignment> assignments;
    QString unused;
    ParseAssignments(ctx.args, &assignments, &unused);

    if (const SessionResult r = ctx.session.readAll(); !r.ok())
        return CliStatus::From(r);
    for (const ParamAssignment &a : assignments)
        ctx.session.cfg().SetConfig(tagCode(a.index), a.value);
    return CliStatus::From(writeChanged(ctx));
}

CliStatus RunSaveProfile(CliContext &ctx)
{
    if (const SessionResult r = ctx.session.readAll(); !r.ok())
        return CliStatus::From(r);
    const QString file = ctx.args.first();
    if (const SessionResult r = ctx.session.saveProfile(file); !r.ok())
        return CliStatus::From(r);
    ctx.out.Line(QStringLiteral("Saved %1 to %2").arg(ctx.session.serial(), file));
    ctx.out.Set(QStringLiteral("file"), file);
    return {};
}

CliStatus RunLoadProfile(CliContext &ctx)
{
    const QString file = ctx.args.first();
    ctx.out.Set(QStringLiteral("file"), file);
    SessionResult sent;
    const SessionResult r = ctx.session.applyProfile(
        ProfileFile::readProfileFile(file), [&] { return sent = writeChanged(ctx); },
        [&] {
            ctx.session.CfgLoaded = false;
            return ctx.session.readAll();
        });
    if (!r.ok())
        return CliStatus::From(r);
    // Show what the controller holds now, not what the file said.
    ReportParams(ctx.out, QStringLiteral("params"), ctx.session.cfg().CfgData);
    return CliStatus::From(sent);
}
