#include "cli/CliCommands.h"

#include "cli/CliFieldArgs.h"
#include "core/protocol/ParamTags.h"
#include "session/ControllerHints.h"
#include "session/ControllerSession.h"

#include <array>

namespace {

bool noArgs(const CliOptions &o, QString *error)
{
    if (o.args.isEmpty())
        return true;
    *error = QStringLiteral("%1: unexpected argument \"%2\"").arg(o.command, o.args.first());
    return false;
}

bool oneFile(const CliOptions &o, QString *error)
{
    if (o.args.size() == 1)
        return true;
    *error = QStringLiteral("%1: %2").arg(o.command, o.args.isEmpty() ? QStringLiteral("a FILE is needed")
                                                                      : QStringLiteral("only one FILE is taken"));
    return false;
}

bool selection(const CliOptions &o, QString *error)
{
    CliSelection s;
    return ParseSelection(o.args, o.fields, &s, error);
}

bool assignments(const CliOptions &o, QString *error)
{
    QList<CliAssignment> list;
    return ParseAssignments(o.args, o.raw, &list, error);
}

const std::array<CliCommand, 11> kCommands{{
    {"list", CliNeeds::Bus, false, noArgs, RunList},
    {"info", CliNeeds::Controller, true, noArgs, RunInfo},
    {"get", CliNeeds::Identified, true, selection, RunGet},
    {"set", CliNeeds::Identified, true, assignments, RunSet},
    {"describe", CliNeeds::Nothing, false, noArgs, RunDescribe},
    {"save-profile", CliNeeds::Identified, false, oneFile, RunSaveProfile},
    {"load-profile", CliNeeds::Identified, true, oneFile, RunLoadProfile},
    {"restart", CliNeeds::Identified, true, noArgs, RunRestart},
    {"test-pattern", CliNeeds::Identified, true, noArgs, RunTestPattern},
    {"reset-defaults", CliNeeds::Identified, true, noArgs, RunResetDefaults},
    {"watch", CliNeeds::Bus, false, noArgs, RunWatch},
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

Json fieldJson(const ParamField &f, int64_t value)
{
    if (f.isList() && value >= 0 && value < int64_t(f.items.size()))
        return f.items[std::size_t(value)].token;
    return value;
}

} // namespace

const CliCommand *FindCliCommand(const QString &name)
{
    for (const CliCommand &c : kCommands) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

void ReportParams(CliReport &report, const char *key, const QList<TCfgData> &params)
{
    Json values = Json::object();
    for (const TCfgData &p : params) {
        report.line(QStringLiteral("%1=%2").arg(QString::fromLatin1(p.Code)).arg(p.Value));
        values[p.Code.toStdString()] = p.Value;
    }
    report.set(key, values);
}

void ReportFields(CliReport &report, const FieldValues &values, const QList<FieldId> &fields)
{
    Json out = Json::object();
    for (FieldId id : fields) {
        const ParamField &f = paramField(id);
        report.line(QStringLiteral("%1=%2").arg(QLatin1String(f.name), FormatFieldValue(f, at(values, id))));
        out[f.name] = fieldJson(f, at(values, id));
    }
    report.set("fields", out);
}

CliStatus RunList(CliContext &ctx)
{
    Json controllers = Json::array();
    for (const ControllerInfo &c : ctx.bus.controllers()) {
        const QString release = QStringLiteral("0x%1").arg(c.release, 4, 16, QLatin1Char('0'));
        ctx.report.line(QStringLiteral("%1 %2 %3").arg(c.serial, release, accessText(c.accessProblem)));
        controllers.push_back({{"serial", toJson(c.serial)},
                               {"release", toJson(release)},
                               {"accessible", c.accessProblem.isEmpty()},
                               {"problem", toJson(c.accessProblem)}});
    }
    ctx.report.set("controllers", controllers);
    if (controllers.empty())
        return CliStatus::NoController(NoControllerMessage());
    return {};
}

CliStatus RunInfo(CliContext &ctx)
{
    // The read-outs are shown as far as identification filled them, as the
    // window does; the capacity needs the parameters.
    TDeviceReadouts r;
    SessionResult read = ctx.session->identify(r);
    if (read.ok())
        read = ctx.session->readAll();
    const auto capacity = read.ok() ? std::optional<uint32_t>(uint32_t(ctx.session->capacity())) : std::nullopt;
    const std::array<std::tuple<const char *, const char *, QString>, 7> rows{{
        {"Serial", "serial", ctx.session->serial()},
        {"Version", "version", r.Version},
        {"Code", "code", r.Code},
        {"Info", "info", r.Info},
        {"Date", "date", r.Date},
        {"Config", "config", r.Config},
        {"Capacity", nullptr, capacity ? QStringLiteral("%1 LEDs").arg(*capacity) : QStringLiteral("---")},
    }};
    for (const auto &[caption, key, value] : rows) {
        ctx.report.line(QLatin1String(caption) + QStringLiteral(": ") + value);
        if (key)
            ctx.report.set(key, toJson(value));
    }
    if (capacity)
        ctx.report.set("capacity_leds", *capacity);
    return CliStatus::From(read);
}

CliStatus RunGet(CliContext &ctx)
{
    CliSelection s;
    QString unused;
    ParseSelection(ctx.options.args, ctx.options.fields, &s, &unused);
    QList<TCfgData> params;
    const SessionResult read = ctx.session->read(s.tagsToRead(), &params);
    if (!read.ok())
        return CliStatus::From(read);
    QList<TCfgData> shown;
    for (const TCfgData &p : params) {
        if (s.tags.contains(tagIndex(p.Code)))
            shown << p;
    }
    if (!shown.isEmpty() || s.fields.isEmpty())
        ReportParams(ctx.report, "params", shown);
    if (!s.fields.isEmpty())
        ReportFields(ctx.report, loadParams(params), s.fields);
    return {};
}

CliStatus RunDescribe(CliContext &ctx)
{
    Json fields = Json::array();
    for (const ParamField &f : paramFields()) {
        const int lastBit = f.rule == FieldRule::Repeated ? 31 : f.shift + f.loadBits - 1;
        QString range;
        QStringList tokens;
        for (const FieldItem &item : f.items)
            tokens << QLatin1String(item.token);
        if (f.readOnly)
            range = QStringLiteral("read-only");
        else if (f.isList())
            range = tokens.join(QLatin1Char(' '));
        else
            range = QStringLiteral("%1..%2").arg(f.min).arg(f.max);
        if (f.scale > 1)
            range += QStringLiteral(" in steps of %1").arg(f.scale);
        if (f.limit != FieldLimit::None)
            range += QStringLiteral(" (less for some LED protocols)");
        const QString bits = QStringLiteral("bits %1-%2").arg(f.shift).arg(lastBit);
        ctx.report.line(QStringLiteral("%1 %2 %3 %4%5")
                            .arg(QLatin1String(f.name), -24)
                            .arg(QLatin1String(tagCode(f.tag)))
                            .arg(bits, -10)
                            .arg(range)
                            .arg(*f.unit ? QLatin1Char(' ') + QLatin1String(f.unit) : QString()));
        Json entry = {{"name", f.name}, {"tag", tagCode(f.tag)}, {"bits", {f.shift, lastBit}}};
        if (f.isList()) {
            Json items = Json::array();
            for (const FieldItem &item : f.items)
                items.push_back(item.token);
            entry["items"] = items;
        } else {
            entry["min"] = f.min;
            entry["max"] = f.max;
        }
        entry["step"] = f.scale;
        entry["unit"] = f.unit;
        entry["readOnly"] = f.readOnly;
        entry["protocolLimited"] = f.limit != FieldLimit::None;
        fields.push_back(entry);
    }
    ctx.report.set("fields", fields);
    return {};
}
