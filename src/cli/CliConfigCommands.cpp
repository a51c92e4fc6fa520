// The commands that change or save the configuration: set, save-profile,
// load-profile. Each reads the whole configuration first, so that only
// changed parameters are written and the layout is checked as a whole.
#include "cli/CliCommands.h"
#include "cli/CliParamArgs.h"

#include "core/files/ProfileFile.h"
#include "core/params/LayoutValidation.h"
#include "core/params/ParamTable.h"

namespace {
// Validates `working`, writes what differs from `device` and reports what
// was written, also when a later write is refused.
CliStatus validateAndWrite(CliContext &ctx, const QList<TCfgData> &working, QList<TCfgData> *device)
{
    if (const auto problem = validateParams(working))
        return CliStatus::Failed(*problem);
    QList<TCfgData> written;
    const CliStatus status = ctx.session.WriteChanged(working, device, &written);
    ReportParams(ctx.out, QStringLiteral("written"), written);
    return status;
}
} // namespace

CliStatus RunSet(CliContext &ctx)
{
    QList<ParamAssignment> assignments;
    QString unused;
    ParseAssignments(ctx.args, &assignments, &unused);

    QList<TCfgData> device;
    if (CliStatus s = ctx.session.ReadAll(&device); !s.ok())
        return s;
    QList<TCfgData> working = device;
    for (const ParamAssignment &a : assignments)
        working[a.index].Value = a.value;
    return validateAndWrite(ctx, working, &device);
}

CliStatus RunSaveProfile(CliContext &ctx)
{
    QList<TCfgData> params;
    if (CliStatus s = ctx.session.ReadAll(&params); !s.ok())
        return s;
    QList<ProfileParam> profile;
    for (const TCfgData &p : params)
        profile.append({p.Code, p.Value});
    const QString file = ctx.args.first();
    QString error;
    if (!ProfileFile::writeProfileFile(file, ctx.session.Bios().SysId, ctx.session.Bios().ToolVers, profile, &error))
        return CliStatus::Failed(error);
    ctx.out.Line(QStringLiteral("Saved %1 to %2").arg(ctx.session.Serial(), file));
    ctx.out.Set(QStringLiteral("file"), file);
    return {};
}

CliStatus RunLoadProfile(CliContext &ctx)
{
    const QString file = ctx.args.first();
    const ParsedProfile profile = ProfileFile::readProfileFile(file);
    // Nothing of a file that fails a check is applied.
    if (const QString error = profile.loadError(ctx.session.Bios().SysId); !error.isEmpty())
        return CliStatus::Failed(error);

    QList<TCfgData> device;
    if (CliStatus s = ctx.session.ReadAll(&device); !s.ok())
        return s;
    QList<TCfgData> working = device;
    for (const ProfileParam &p : profile.params) {
        const int index = tagIndex(p.code);
        // Unknown keys are skipped as the window skips them. LMAX is the
        // capacity of the controller the file came from, not a setting: the
        // firmware refuses it, and being first it would stop every write.
        if (index >= 0 && index != int(ParamTag::LMAX))
            working[index].Value = p.value;
    }
    ctx.out.Set(QStringLiteral("file"), file);
    if (CliStatus s = validateAndWrite(ctx, working, &device); !s.ok())
        return s;

    // Show what the controller holds now, not what the file said.
    QList<TCfgData> readBack;
    const CliStatus read = ctx.session.ReadAll(&readBack);
    if (read.ok())
        ReportParams(ctx.out, QStringLiteral("params"), readBack);
    return read;
}
