#include "cli/CliCommands.h"

#include "cli/CliFieldArgs.h"
#include "core/params/ProtocolLimits.h"
#include "core/protocol/ParamTags.h"
#include "session/ControllerHints.h"
#include "session/ControllerSession.h"

#include <array>

namespace {

CliOutcome noArgs(const CliOptions &o)
{
    if (o.args.isEmpty())
        return {};
    return CliOutcome::usage(QStringLiteral("%1: unexpected argument \"%2\"").arg(o.command, o.args.first()));
}

CliOutcome oneFile(const CliOptions &o)
{
    if (o.args.size() == 1)
        return {};
    return CliOutcome::usage(QStringLiteral("%1: %2").arg(o.command, o.args.isEmpty() ? QStringLiteral("a FILE is needed")
                                                                                     : QStringLiteral("only one FILE is taken")));
}

CliOutcome selection(const CliOptions &o)
{
    CliSelection s;
    return parseSelection(o.args, o.fields, &s);
}

CliOutcome assignments(const CliOptions &o)
{
    QList<CliAssignment> list;
    return parseAssignments(o.args, o.raw, &list);
}

const std::array<CliCommand, 11> kCommands{{
    {"list", CliNeeds::Bus, false, noArgs, runList},
    {"info", CliNeeds::Controller, true, noArgs, runInfo},
    {"get", CliNeeds::Identified, true, selection, runGet},
    {"set", CliNeeds::Identified, true, assignments, runSet},
    {"describe", CliNeeds::Nothing, false, noArgs, runDescribe},
    {"save-profile", CliNeeds::Identified, false, oneFile, runSaveProfile},
    {"load-profile", CliNeeds::Identified, true, oneFile, runLoadProfile},
    {"restart", CliNeeds::Identified, true, noArgs, runRestart},
    {"test-pattern", CliNeeds::Identified, true, noArgs, runTestPattern},
    {"reset-defaults", CliNeeds::Identified, true, noArgs, runResetDefaults},
    {"watch", CliNeeds::Bus, false, noArgs, runWatch},
}};

// How a controller that cannot be opened is described in the list: the
// first line of the reason; `info` on it gives the whole hint.
QString accessText(const QString &problem)
{
    if (problem.isEmpty())
        return QStringLiteral("ok");
    return QStringLiteral("cannot be opened: %1 (corvane-cli info says more)").arg(problem.section(QLatin1Char('\n'), 0, 0));
}

// The limits of one LED protocol for every field they narrow.
int protocolMax(const ProtocolLimits &limits, const ParamField &f)
{
    return f.limit == FieldLimit::LedsPerChannel ? limits.stripeMax : limits.channelMax;
}

// What each LED protocol allows, as a table under the fields.
void describeProtocolLimits(CliReport &report)
{
    const ParamField &protocol = paramField(FieldId::LedProtocol);
    QList<const ParamField *> limited;
    QString head = QStringLiteral("%1").arg(QStringLiteral("LED protocol limits"), -20);
    for (const ParamField &f : paramFields()) {
        if (f.limit != FieldLimit::None) {
            limited << &f;
            head += QStringLiteral(" %1").arg(QLatin1String(f.name), -24);
        }
    }
    report.line(QString());
    report.line(head.trimmed());
    Json table = Json::object();
    for (std::size_t p = 0; p < protocol.items.size(); ++p) {
        const ProtocolLimits limits = protocolLimits(int(p)).value_or(ProtocolLimits{});
        QString row = QStringLiteral("%1").arg(QLatin1String(protocol.items[p].token), -20);
        Json entry = Json::object();
        for (const ParamField *f : std::as_const(limited)) {
            row += QStringLiteral(" %1").arg(protocolMax(limits, *f), -24);
            entry[f->name] = protocolMax(limits, *f);
        }
        report.line(row.trimmed());
        table[protocol.items[p].token] = entry;
    }
    report.line(QStringLiteral("A matrix takes at most as many modules (modules_x times modules_y) as channels."));
    report.set("protocol_limits", table);
}

} // namespace

const CliCommand *findCliCommand(const QString &name)
{
    for (const CliCommand &c : kCommands) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

void reportParams(CliReport &report, const char *key, const QList<TCfgData> &params)
{
    Json values = Json::object();
    for (const TCfgData &p : params) {
        report.line(QStringLiteral("%1=%2").arg(QString::fromLatin1(p.Code)).arg(p.Value));
        values[p.Code.toStdString()] = p.Value;
    }
    report.set(key, values);
}

Json fieldJson(const ParamField &f, int64_t value)
{
    if (f.isList() && value >= 0 && value < int64_t(f.items.size()))
        return f.items[std::size_t(value)].token;
    return value;
}

void reportChanges(CliReport &report, const FieldValues &before, const FieldValues &after, bool lines)
{
    Json changes = Json::array();
    for (const ParamField &f : paramFields()) {
        const int64_t from = at(before, f.id);
        const int64_t to = at(after, f.id);
        if (from == to || f.readOnly)
            continue;
        changes.push_back({{"field", f.name}, {"from", fieldJson(f, from)}, {"to", fieldJson(f, to)}});
        if (lines)
            report.line(QStringLiteral("%1: %2 -> %3").arg(QLatin1String(f.name), formatFieldValue(f, from), formatFieldValue(f, to)));
    }
    report.set("changed", !changes.empty());
    report.set("changes", changes);
}

CliOutcome runList(CliContext &ctx)
{
    Json controllers = Json::array();
    for (const ControllerInfo &c : ctx.bus.controllers()) {
        if (!ctx.options.device.isEmpty() && c.serial.compare(ctx.options.device, Qt::CaseInsensitive) != 0)
            continue;
        const QString release = QStringLiteral("0x%1").arg(c.release, 4, 16, QLatin1Char('0'));
        ctx.report.line(QStringLiteral("%1 %2 %3").arg(c.serial, release, accessText(c.accessProblem)));
        controllers.push_back({{"serial", toJson(c.serial)},
                               {"release", toJson(release)},
                               {"accessible", c.accessProblem.isEmpty()},
                               {"problem", toJson(c.accessProblem)}});
    }
    ctx.report.set("controllers", controllers);
    if (controllers.empty() && !ctx.options.device.isEmpty())
        return SessionResult::noController(QStringLiteral("No CORVANE with serial number %1 connected").arg(ctx.options.device));
    if (controllers.empty())
        return SessionResult::noController(noControllerMessage());
    return {};
}

CliOutcome runInfo(CliContext &ctx)
{
    // The read-outs are shown as far as identification filled them, as the
    // window does; the capacity needs the parameters.
    DeviceReadouts r;
    SessionResult read = ctx.session->identify(r);
    if (read.ok())
        read = ctx.session->readAll();
    const auto capacity = read.ok() ? std::optional<uint32_t>(uint32_t(ctx.session->capacity())) : std::nullopt;
    const std::array<std::tuple<const char *, const char *, QString>, 7> rows{{
        {"Serial", "serial", ctx.session->serial()},
        {"Version", "version", r.version},
        {"Code", "code", r.code},
        {"Info", "info", r.info},
        {"Date", "date", r.date},
        {"Config", "config", r.config},
        {"Capacity", nullptr, capacity ? QStringLiteral("%1 LEDs").arg(*capacity) : QStringLiteral("---")},
    }};
    for (const auto &[caption, key, value] : rows) {
        ctx.report.line(QLatin1String(caption) + QStringLiteral(": ") + value);
        if (key)
            ctx.report.set(key, toJson(value));
    }
    if (capacity)
        ctx.report.set("capacity_leds", *capacity);
    return {read, CliError::Unsupported};
}

CliOutcome runGet(CliContext &ctx)
{
    CliSelection s;
    parseSelection(ctx.options.args, ctx.options.fields, &s);
    QList<TCfgData> params;
    if (const SessionResult read = ctx.session->read(s.tagsToRead(), &params); !read.ok())
        return read;
    const FieldValues values = loadParams(params);
    Json words = Json::object();
    Json fields = Json::object();
    for (const CliSelection::Item &item : std::as_const(s.items)) {
        if (item.tag >= 0) {
            const uint32_t word = findParam(params, tagCode(item.tag)).value_or(0);
            ctx.report.line(QStringLiteral("%1=%2").arg(QLatin1String(tagCode(item.tag))).arg(word));
            words[tagCode(item.tag)] = word;
        } else {
            const ParamField &f = paramField(item.field);
            ctx.report.line(QStringLiteral("%1=%2").arg(QLatin1String(f.name), formatFieldValue(f, at(values, f.id))));
            fields[f.name] = fieldJson(f, at(values, f.id));
        }
    }
    if (s.hasTags() || !s.hasFields())
        ctx.report.set("params", words);
    if (s.hasFields())
        ctx.report.set("fields", fields);
    return {};
}

CliOutcome runDescribe(CliContext &ctx)
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
            range += QStringLiteral(" (less for some LED protocols, see below)");
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
        entry["read_only"] = f.readOnly;
        entry["protocol_limited"] = f.limit != FieldLimit::None;
        fields.push_back(entry);
    }
    ctx.report.set("fields", fields);
    describeProtocolLimits(ctx.report);
    return {};
}
