// The commands that change or save the configuration: set, save-profile,
// load-profile. Each reads the whole configuration first, so that only
// changed parameters are written and the arrangement is checked as a whole.
#include "cli/CliCommands.h"
#include "cli/CliFieldArgs.h"

#include "core/files/ProfileFile.h"
#include "core/params/ProtocolLimits.h"
#include "session/ControllerSession.h"

namespace {

// Checks and writes what changed, then reports what was written, also when
// a later write is refused.
SessionResult writeChanged(ControllerSession &session, CliReport &report)
{
    const QList<TCfgData> before = session.cfg().CfgOrig;
    const SessionResult r = session.writeChanged(session.paramArrangement(), session.ticket());
    QList<TCfgData> written;
    const QList<TCfgData> &after = session.cfg().CfgOrig;
    for (qsizetype i = 0; i < qMin(before.size(), after.size()); ++i) {
        if (after[i].Value != before[i].Value)
            written.append(after[i]);
    }
    ReportParams(report, "written", written);
    return r;
}

// The new word of a tag: the given one, or the controller's with the given
// fields changed.
uint32_t assignedWord(ParamTag tag, uint32_t current, const QList<CliAssignment> &assignments)
{
    FieldValues values{};
    loadParam(tag, current, values);
    bool fields = false;
    for (const CliAssignment &a : assignments) {
        if (a.tag != tag)
            continue;
        if (!a.field)
            return a.word;
        at(values, a.field->id) = a.value;
        fields = true;
    }
    return fields ? packParam(tag, values).value_or(current) : current;
}

// What the values can only be checked against once the controller's are
// known: the limits of the LED protocol they end up with. A protocol that
// changes must suit the counts it keeps, as the window's editor clamps them.
QString protocolProblem(const TCfg &cfg, const QList<CliAssignment> &assignments, bool raw)
{
    const FieldValues now = loadParams(cfg.CfgData);
    const int protocol = int(at(now, FieldId::LedProtocol));
    for (const CliAssignment &a : assignments) {
        const QString problem = a.field ? fieldValueProblem(*a.field, a.value, protocol)
                              : raw     ? QString()
                                        : wordProblem(a.tag, cfg.CfgData[tagIndexOf(a.tag)].Value, protocol);
        if (!problem.isEmpty())
            return problem;
    }
    const qsizetype lpro = tagIndexOf(ParamTag::LPRO);
    if (raw || cfg.CfgData[lpro].Value == cfg.CfgOrig[lpro].Value)
        return {};
    for (const ParamField &f : paramFields()) {
        if (f.limit == FieldLimit::None || fieldValueProblem(f, at(now, f.id), protocol).isEmpty())
            continue;
        return QStringLiteral("%1 is %2, more than %3 allows; set it as well")
            .arg(QLatin1String(f.name))
            .arg(at(now, f.id))
            .arg(FormatFieldValue(paramField(FieldId::LedProtocol), protocol));
    }
    return {};
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
    TCfg &cfg = session.cfg();
    for (const ParamRecord &record : paramRecords()) {
        const uint32_t word = assignedWord(record.tag, cfg.CfgData[tagIndexOf(record.tag)].Value, assignments);
        cfg.SetConfig(record.code, word);
    }
    if (const QString problem = protocolProblem(cfg, assignments, ctx.options.raw); !problem.isEmpty())
        return CliStatus::Usage(problem);
    return CliStatus::From(writeChanged(session, ctx.report));
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
// the capacity never written, the arrangement checked before anything is
// written, the controller read back whatever the writes did.
CliStatus ApplyProfile(ControllerSession &session, const QString &file, CliReport &report)
{
    report.set("file", toJson(file));
    SessionResult sent;
    const SessionResult r = session.applyProfile(
        ProfileFile::readProfileFile(file), [&] { return sent = writeChanged(session, report); },
        [&] {
            session.CfgLoaded = false;
            return session.readAll();
        });
    if (!r.ok())
        return CliStatus::From(r);
    // Show what the controller holds now, not what the file said.
    ReportParams(report, "params", session.cfg().CfgData);
    return CliStatus::From(sent);
}

CliStatus RunLoadProfile(CliContext &ctx)
{
    return ApplyProfile(*ctx.session, ctx.options.args.first(), ctx.report);
}
