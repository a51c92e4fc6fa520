#include "core/params/ParamCodec.h"

#include "core/params/ProtocolLimits.h"

#include <QStringList>

namespace {

constexpr uint32_t maskOf(int bitCount)
{
    return bitCount >= 32 ? 0xFFFFFFFFu : (uint32_t(1) << bitCount) - 1;
}

// The field's stored steps, before any rule turns them into a value.
uint32_t rawField(const ParamField &field, uint32_t word)
{
    return (word >> field.shift) & maskOf(field.loadBits);
}

// All arithmetic on the packed word is unsigned, so a -1 index wraps to all
// bits set instead of being undefined.
uint32_t packField(const ParamField &field, int64_t value)
{
    if (field.rule == FieldRule::Repeated) {
        uint32_t word = 0;
        for (int k = 0; k < 8; ++k)
            word |= uint32_t(value) << (4 * k);
        return word;
    }
    return (uint32_t(value / field.scale) & maskOf(field.packBits)) << field.shift;
}

std::optional<int> protocolMax(const ParamField &field, int ledProtocol)
{
    const auto limits = protocolLimits(ledProtocol);
    if (!limits)
        return std::nullopt;
    switch (field.limit) {
    case FieldLimit::LedsPerChannel: return limits->stripeMax;
    case FieldLimit::Channels: return limits->channelMax;
    case FieldLimit::None: break;
    }
    return std::nullopt;
}

QString tokens(const ParamField &field)
{
    QStringList list;
    for (const FieldItem &item : field.items)
        list << QLatin1String(item.token);
    return list.join(QLatin1Char(' '));
}

} // namespace

int64_t loadField(const ParamField &field, uint32_t word)
{
    const uint32_t raw = rawField(field, word);
    if (field.rule == FieldRule::Flag)
        return raw == 1 ? 1 : 0;
    return int64_t(raw) * field.scale;
}

void loadParam(ParamTag tag, uint32_t word, FieldValues &values)
{
    for (const ParamField &field : paramRecord(tag).fields)
        at(values, field.id) = loadField(field, word);
}

std::optional<uint32_t> packParam(ParamTag tag, const FieldValues &values)
{
    const ParamRecord &record = paramRecord(tag);
    uint32_t word = 0;
    for (const ParamField &field : record.fields) {
        if (field.readOnly)
            return std::nullopt;
        word += packField(field, at(values, field.id));
    }
    return word;
}

FieldValues loadParams(const QList<TCfgData> &params)
{
    FieldValues values{};
    for (const TCfgData &param : params) {
        const int index = tagIndex(param.Code);
        if (index >= 0)
            loadParam(static_cast<ParamTag>(index), param.Value, values);
    }
    return values;
}

std::optional<uint32_t> findParam(const QList<TCfgData> &params, const char *code)
{
    for (const TCfgData &param : params) {
        if (param.Code == code)
            return param.Value;
    }
    return std::nullopt;
}

QString fieldValueProblem(const ParamField &field, int64_t value, int ledProtocol)
{
    const QString name = QLatin1String(field.name);
    if (field.readOnly)
        return QStringLiteral("%1 is the controller's own and cannot be set").arg(name);
    if (field.isList()) {
        if (value < 0 || value >= int64_t(field.items.size()))
            return QStringLiteral("%1 takes one of: %2").arg(name, tokens(field));
        return {};
    }
    const int64_t max = protocolMax(field, ledProtocol).value_or(field.max);
    if (value < field.min || value > max) {
        QString range = QStringLiteral("%1 takes %2 to %3").arg(name).arg(field.min).arg(max);
        if (*field.unit)
            range += QLatin1Char(' ') + QLatin1String(field.unit);
        if (max < field.max)
            range += QStringLiteral(" with %1").arg(QLatin1String(paramField(FieldId::LedProtocol).items[std::size_t(ledProtocol)].token));
        return range;
    }
    return {};
}

QString wordFieldsProblem(ParamTag tag, uint32_t word, int ledProtocol)
{
    const ParamRecord &record = paramRecord(tag);
    FieldValues values{};
    for (const ParamField &field : record.fields) {
        // Checked on the stored steps, so a flag byte of 2 is out of range
        // rather than quietly "off".
        const int64_t value = int64_t(rawField(field, word)) * field.scale;
        if (QString problem = fieldValueProblem(field, value, ledProtocol); !problem.isEmpty())
            return problem;
        at(values, field.id) = value;
    }
    if (packParam(tag, values) != word)
        return QStringLiteral("bits are set outside the parameter's fields");
    return {};
}

QString wordProblem(ParamTag tag, uint32_t word, int ledProtocol)
{
    const QString problem = wordFieldsProblem(tag, word, ledProtocol);
    if (problem.isEmpty())
        return {};
    return QStringLiteral("%1=0x%2: %3")
        .arg(QLatin1String(paramRecord(tag).code))
        .arg(word, 8, 16, QLatin1Char('0'))
        .arg(problem);
}
