#include "cli/CliCommands.h"

#include "cli/CliParamArgs.h"
#include "core/protocol/ParamTags.h"
#include "device/uComHid.h"
#include "session/ControllerSession.h"

#include <QJsonArray>
#include <QJsonObject>

#include <array>

namespace {
bool noArgs(const QStringList &args, QString *error)
{
    if (args.isEmpty())
        return true;
    *error = QStringLiteral("unexpected argument \"%1\"").arg(args.first());
    return false;
}

bool oneFile(const QStringList &args, QString *error)
{
    if (args.size() == 1)
        return true;
    *error = args.isEmpty() ? QStringLiteral("a FILE is needed") : QStringLiteral("only one FILE is taken");
    return false;
}

bool tagList(const QStringList &args, QString *error)
{
    QList<int> indexes;
    return ParseTagList(args, &indexes, error);
}

bool assignments(const QStringList &args, QString *error)
{
    QList<ParamAssignment> list;
    return ParseAssignments(args, &list, error);
}

const std::array<CliCommand, 9> kCommands{{
    {"list", CliNeeds::Bus, noArgs, RunList},
    {"info", CliNeeds::Controller, noArgs, RunInfo},
    {"get", CliNeeds::Identified, tagList, RunGet},
    {"set", CliNeeds::Identified, assignments, RunSet},
    {"save-profile", CliNeeds::Identified, oneFile, RunSaveProfile},
    {"load-profile", CliNeeds::Identified, oneFile, RunLoadProfile},
    {"restart", CliNeeds::Identified, noArgs, RunRestart},
    {"test-pattern", CliNeeds::Identified, noArgs, RunTestPattern},
    {"reset-defaults", CliNeeds::Identified, noArgs, RunResetDefaults},
}};

// How a controller that cannot be opened is described in the list.
QString accessText(const QString &problem)
{
    if (problem.isEmpty())
        return QStringLiteral("ok");
    if (problem.startsWith(QLatin1String("No permission")))
        return QStringLiteral("no permission (install the udev rule 70-corvane.rules)");
    return QStringLiteral("cannot be opened (%1)").arg(problem.section(QLatin1Char('\n'), 0, 0));
}
} // namespace

QList<int> AllParamIndexes()
{
    QList<int> all;
    for (int i = 0; i < kParamTagCount; ++i)
        all << i;
    return all;
}

const CliCommand *FindCliCommand(const QString &name)
{
    for (const CliCommand &c : kCommands) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

void ReportParams(CliOutput &out, const QString &key, const QList<TCfgData> &params)
{
    QJsonObject values;
    for (const TCfgData &p : params) {
        out.Line(QStringLiteral("%1=%2").arg(QString::fromLatin1(p.Code)).arg(p.Value));
        values.insert(QString::fromLatin1(p.Code), double(p.Value));
    }
    out.Set(key, values);
}

CliStatus RunList(CliContext &ctx)
{
    QJsonArray controllers;
    for (const TDevListEntry &e : std::as_const(ctx.hid.DevList)) {
        const QString release = QStringLiteral("0x%1").arg(e.Object->VersionNumber(), 4, 16, QLatin1Char('0'));
        const QString problem = e.Object->AccessProblem();
        ctx.out.Line(QStringLiteral("%1 %2 %3").arg(e.Text, release, accessText(problem)));
        controllers.append(QJsonObject{{QStringLiteral("serial"), e.Text},
                                       {QStringLiteral("release"), release},
                                       {QStringLiteral("accessible"), problem.isEmpty()},
                                       {QStringLiteral("problem"), problem}});
    }
    ctx.out.Set(QStringLiteral("controllers"), controllers);
    if (controllers.isEmpty())
        return CliStatus::NoController(QStringLiteral("No CORVANE connected"));
    return {};
}

CliStatus RunInfo(CliContext &ctx)
{
    // The read-outs are shown as far as identification filled them, as the
    // window does; the capacity needs the parameters.
    TDeviceReadouts r;
    SessionResult read = ctx.session.identify(r);
    if (read.ok())
        read = ctx.session.readAll();
    const uint32_t ledMax = read.ok() ? ctx.session.cfg().CfgData.first().Value : 0;
    const QString capacity = read.ok() ? QStringLiteral("%1 LEDs").arg(ledMax) : QStringLiteral("---");
    const std::array<std::pair<QString, QString>, 7> rows{{
        {QStringLiteral("Serial"), ctx.session.serial()},
        {QStringLiteral("Version"), r.Version},
        {QStringLiteral("Code"), r.Code},
        {QStringLiteral("Info"), r.Info},
        {QStringLiteral("Date"), r.Date},
        {QStringLiteral("Config"), r.Config},
        {QStringLiteral("Capacity"), capacity},
    }};
    for (const auto &[caption, value] : rows) {
        ctx.out.Line(caption + QStringLiteral(": ") + value);
        ctx.out.Set(caption.toLower(), value);
    }
    if (read.ok())
        ctx.out.Set(QStringLiteral("ledCapacity"), double(ledMax));
    return CliStatus::From(read);
}

CliStatus RunGet(CliContext &ctx)
{
    QList<int> indexes;
    QString unused;
    ParseTagList(ctx.args, &indexes, &unused);
    if (indexes.isEmpty())
        indexes = AllParamIndexes();
    QList<TCfgData> params;
    const SessionResult read = ctx.session.read(indexes, &params);
    if (read.ok())
        ReportParams(ctx.out, QStringLiteral("params"), params);
    return CliStatus::From(read);
}
