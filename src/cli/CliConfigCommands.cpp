// The commands that change or save the configuration: set, save-profile,
// load-profile. Each reads the whole configuration first, so that only
// changed parameters are written and the arrangement is checked as a whole.
#include "cli/CliCommands.h"
#include "cli/CliFieldArgs.h"

#include "core/files/ProfileFile.h"
#include "session/ControllerSession.h"

namespace {

// Says on standard error, and in JSON, what the session changed beyond
// what was asked.
void reportAdjusted(CliReport &report, const QList<FieldAdjustment> &adjusted)
{
    if (adjusted.isEmpty())
        return;
    Json list = Json::array();
    for (const FieldAdjustment &a : adjusted) {
        report.notes << describeAdjustment(a, fieldNameWording());
        list.push_back({{"field", paramField(a.field).name}, {"from", a.from}, {"to", a.to}});
    }
    report.set("adjusted", list);
}

} // namespace

CliStatus RunSet(CliContext &ctx)
{
    QList<CliAssignment> assignments;
    QString unused;
    ParseAssignments(ctx.options.args, ctx.options.raw, &assignments, &unused);

    ControllerSession &session = *ctx.session;
    if (const SessionResult r = session.readAll(); !r.ok())
        return CliStatus::From(r);
    QList<FieldChange> fields;
    QList<WordChange> words;
    for (const CliAssignment &a : std::as_const(assignments)) {
        if (a.field)
            fields.append({a.field->id, a.value});
        else
            words.append({a.tag, a.word});
    }
    const FieldsResult changed = session.setFields(fields, words, ctx.options.raw ? WordCheck::Raw : WordCheck::Fields);
    if (!changed.ok())
        return CliStatus::Usage(changed.refused.first().message);
    reportAdjusted(ctx.report, changed.adjusted);
    QList<TCfgData> written;
    const SessionResult r = session.writeChanged(session.ticket(), &written);
    ReportParams(ctx.report, "written", written);
    return CliStatus::From(r);
}

CliStatus RunSaveProfile(CliContext &ctx)
{
    if (const SessionResult r = ctx.session->readAll(); !r.ok())
        return CliStatus::From(r);
    const QString file = ctx.options.args.first();
    if (const SessionResult r = ctx.session->saveProfile(file); !r.ok())
        return CliStatus::From(r);
    ctx.report.line(QStringLiteral("Saved %1 to %2").arg(ctx.session->serial(), file));
    ctx.report.set("file", toJson(file));
    return {};
}

// Applies a profile with the rules of the window: the file checked whole,
// the capacity never written, the controller read back whatever the
// writes did.
CliStatus ApplyProfile(ControllerSession &session, const QString &file, CliReport &report)
{
    report.set("file", toJson(file));
    ProfileApplied applied;
    const SessionResult r = session.applyProfile(ProfileFile::readProfileFile(file), session.ticket(), &applied);
    reportAdjusted(report, applied.adjusted);
    if (applied.reached)
        ReportParams(report, "written", applied.written);
    // Show what the controller holds now, not what the file said.
    if (r.ok() || (applied.reached && session.loaded()))
        ReportParams(report, "params", session.params());
    return CliStatus::From(r);
}

CliStatus RunLoadProfile(CliContext &ctx)
{
    return ApplyProfile(*ctx.session, ctx.options.args.first(), ctx.report);
}
