// The commands that change or save the configuration: set, save-profile,
// load-profile. Each reads the whole configuration first, so that only
// changed parameters are written and the arrangement is checked as a whole.
#include "cli/CliCommands.h"
#include "cli/CliFieldArgs.h"
#include "cli/CliProfileFiles.h"

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
        const ParamField &f = paramField(a.field);
        report.notes << describeAdjustment(a, fieldNameWording());
        list.push_back({{"field", f.name}, {"from", fieldJson(f, a.from)}, {"to", fieldJson(f, a.to)}});
    }
    report.set("adjusted", list);
}

Json paramsJson(const QList<TCfgData> &params)
{
    Json values = Json::object();
    for (const TCfgData &p : params)
        values[p.Code.toStdString()] = p.Value;
    return values;
}

// What set wrote, in the form it was asked for and in the order given.
void echoWritten(CliReport &report, const QList<CliAssignment> &asked, const QList<TCfgData> &written,
                 const FieldValues &now)
{
    for (const CliAssignment &a : asked) {
        const auto word = findParam(written, tagCode(a.tag));
        if (!word)
            continue;
        if (a.field)
            report.line(QStringLiteral("%1=%2").arg(QLatin1String(a.field->name), formatFieldValue(*a.field, at(now, a.field->id))));
        else
            report.line(QStringLiteral("%1=%2").arg(QLatin1String(tagCode(a.tag))).arg(*word));
    }
}

} // namespace

CliOutcome runSet(CliContext &ctx)
{
    QList<CliAssignment> assignments;
    parseAssignments(ctx.options.args, ctx.options.raw, &assignments);

    ControllerSession &session = *ctx.session;
    if (const SessionResult r = session.readAll(); !r.ok())
        return r;
    const QList<TCfgData> held = session.params();
    const FieldValues before = loadParams(held);
    QList<FieldChange> fields;
    QList<WordChange> words;
    for (const CliAssignment &a : std::as_const(assignments)) {
        if (a.field)
            fields.append({a.field->id, a.value});
        else
            words.append({a.tag, a.word});
    }
    const FieldsResult changed = session.setFields(fields, words, ctx.options.raw ? WordCheck::Raw : WordCheck::Fields);
    if (!changed.ok()) {
        CliOutcome refused = CliOutcome::usage(changed.refused.first().message);
        refused.field = QLatin1String(paramField(changed.refused.first().field).name);
        return refused;
    }
    reportAdjusted(ctx.report, changed.adjusted);
    if (ctx.options.dryRun) {
        // The arrangement is what the write would refuse first.
        if (!changed.arrangementProblem.isEmpty())
            return SessionResult::invalid(changed.arrangementProblem);
        reportChanges(ctx.report, before, session.fieldValues(), true);
        return {};
    }
    QList<TCfgData> written;
    const SessionResult r = session.writeChanged(session.ticket(), &written);
    echoWritten(ctx.report, assignments, written, session.fieldValues());
    // What the controller holds now: what it held, and what reached it.
    QList<TCfgData> now = held;
    for (TCfgData &p : now)
        p.Value = findParam(written, p.Code.constData()).value_or(p.Value);
    reportChanges(ctx.report, before, loadParams(now), false);
    ctx.report.set("written", paramsJson(written));
    return r;
}

CliOutcome runSaveProfile(CliContext &ctx)
{
    const QString file = ctx.options.args.first();
    if (const QString problem = folderProblem(file); !problem.isEmpty())
        return CliOutcome::failed(problem, CliError::File);
    if (const SessionResult r = ctx.session->readAll(); !r.ok())
        return r;
    if (isStandardStream(file)) {
        QList<ProfileParam> params;
        for (const TCfgData &d : ctx.session->params())
            params.append({d.Code, d.Value});
        const TBiosInfo &bios = ctx.session->biosInfo();
        ctx.report.raw = ProfileFile::profileText(bios.SysId, bios.ToolVers, params);
        ctx.report.set("profile", toJson(QString::fromUtf8(ctx.report.raw)));
        return {};
    }
    if (const SessionResult r = ctx.session->saveProfile(file); !r.ok())
        return {r, CliError::File};
    ctx.report.line(QStringLiteral("Saved %1 to %2").arg(ctx.session->serial(), file));
    ctx.report.set("file", toJson(file));
    return {};
}

// Applies a profile with the rules of the window: the file checked whole,
// the capacity never written, the controller read back whatever the
// writes did.
CliOutcome applyProfile(ControllerSession &session, const ParsedProfile &profile, const QString &file, bool dryRun,
                        CliReport &report)
{
    report.set("file", toJson(file));
    // A file that could never apply is refused before the controller is read.
    if (const QString error = profile.loadError(session.biosInfo().SysId); !error.isEmpty())
        return CliOutcome::failed(error, CliError::File);
    if (const SessionResult r = session.readAll(); !r.ok())
        return r;
    const FieldValues before = session.fieldValues();
    if (dryRun) {
        QList<FieldAdjustment> adjusted;
        const SessionResult r = session.planProfile(profile, &adjusted);
        reportAdjusted(report, adjusted);
        if (r.ok())
            reportChanges(report, before, session.fieldValues(), true);
        return {r, CliError::File};
    }
    ProfileApplied applied;
    const SessionResult r = session.applyProfile(profile, session.ticket(), &applied);
    reportAdjusted(report, applied.adjusted);
    if (applied.reached)
        report.set("written", paramsJson(applied.written));
    // Show what the controller holds now, not what the file said.
    if (r.ok() || (applied.reached && session.loaded())) {
        reportChanges(report, before, session.fieldValues(), false);
        reportParams(report, "params", session.params());
    }
    return {r, CliError::File};
}

CliOutcome runLoadProfile(CliContext &ctx)
{
    return applyProfile(*ctx.session, *ctx.profile, ctx.options.args.first(), ctx.options.dryRun, ctx.report);
}
