#include "session/FieldChanges.h"

#include "core/params/LayoutValidation.h"
#include "core/params/ProtocolLimits.h"

#include <algorithm>

namespace {

std::size_t bit(FieldId id)
{
    return std::size_t(fieldIndexOf(id));
}

int64_t fieldIn(const ParamWords &words, const ParamField &field)
{
    return loadField(field, words[std::size_t(tagIndexOf(field.tag))]);
}

void setFieldIn(ParamWords &words, const ParamField &field, int64_t value)
{
    uint32_t &word = words[std::size_t(tagIndexOf(field.tag))];
    FieldValues values{};
    loadParam(field.tag, word, values);
    at(values, field.id) = value;
    word = packParam(field.tag, values).value_or(word);
}

// The field a refused word is refused for: the first out of its range, or
// the first of the parameter when bits outside every field are set.
FieldId offendingField(const ParamRecord &record, uint32_t word)
{
    for (const ParamField &field : record.fields) {
        const uint32_t raw = (word >> field.shift) & (field.loadBits >= 32 ? ~0u : (1u << field.loadBits) - 1);
        if (!fieldValueProblem(field, int64_t(raw) * field.scale).isEmpty())
            return field.id;
    }
    return record.fields.front().id;
}

class Planner {
public:
    Planner(const ParamWords &current, int capacity)
        : m_capacity(capacity)
    {
        m_plan.words = current;
    }

    void word(const WordChange &change, WordCheck check)
    {
        const ParamRecord &record = paramRecord(change.tag);
        if (record.fields.front().readOnly) {
            refuse(record.fields.front().id, change.word, fieldValueProblem(record.fields.front(), change.word));
            return;
        }
        if (check != WordCheck::Raw) {
            if (const QString problem = wordProblem(change.tag, change.word); !problem.isEmpty()) {
                refuse(offendingField(record, change.word), change.word, problem);
                return;
            }
        }
        m_plan.words[std::size_t(tagIndexOf(change.tag))] = change.word;
        m_plan.touched.set(std::size_t(tagIndexOf(change.tag)));
        for (const ParamField &field : record.fields) {
            m_plan.userFields.set(bit(field.id));
            if (check == WordCheck::Fields)
                m_named.set(bit(field.id));
            if (check == WordCheck::Raw)
                m_exempt.set(bit(field.id));
        }
    }

    void field(const FieldChange &change)
    {
        const ParamField &field = paramField(change.field);
        if (const QString problem = fieldValueProblem(field, change.value); !problem.isEmpty()) {
            refuse(change.field, change.value, problem);
            return;
        }
        int64_t value = change.value;
        // The controller keeps some times in coarser steps than people type
        // them; what it will hold is said, not hidden.
        if (value % field.scale != 0) {
            value -= value % field.scale;
            m_plan.result.adjusted.append({change.field, change.value, value, FieldAdjustment::Reason::DeviceStep});
        }
        set(field, value);
        m_named.set(bit(change.field));
    }

    void protocolLimits()
    {
        const int protocol = int(fieldIn(m_plan.words, paramField(FieldId::LedProtocol)));
        const auto limits = ::protocolLimits(protocol);
        if (!limits)
            return;
        for (const ParamField &field : paramFields()) {
            if (field.limit == FieldLimit::None || m_exempt.test(bit(field.id)))
                continue;
            const int64_t max = field.limit == FieldLimit::LedsPerChannel ? limits->stripeMax : limits->channelMax;
            const int64_t value = fieldIn(m_plan.words, field);
            if (value <= max)
                continue;
            if (m_named.test(bit(field.id)))
                refuse(field.id, value, fieldValueProblem(field, value, protocol));
            else
                adjust(field, value, max, protocol);
        }
        modulesPerChannel(limits->channelMax, protocol);
    }

    ChangePlan finish()
    {
        if (!m_plan.result.refused.isEmpty()) {
            FieldsResult refused;
            refused.refused = m_plan.result.refused;
            return {{}, {}, {}, refused};
        }
        for (const ParamField &field : paramFields()) {
            const bool adjusted = std::any_of(m_plan.result.adjusted.cbegin(), m_plan.result.adjusted.cend(),
                                              [&](const FieldAdjustment &a) { return a.field == field.id; });
            if (m_plan.userFields.test(bit(field.id)) && !adjusted)
                m_plan.result.accepted.append(field.id);
        }
        QList<TCfgData> params;
        for (int i = 0; i < kParamTagCount; ++i)
            params.append(TCfgData(tagCode(i), m_plan.words[std::size_t(i)]));
        m_plan.result.arrangementProblem = validateLayout(LayoutArrangement::fromParams(params), m_capacity).value_or(QString());
        return m_plan;
    }

private:
    void refuse(FieldId field, int64_t value, const QString &message)
    {
        m_plan.result.refused.append({field, value, message});
    }

    void set(const ParamField &field, int64_t value)
    {
        setFieldIn(m_plan.words, field, value);
        m_plan.touched.set(std::size_t(tagIndexOf(field.tag)));
        m_plan.userFields.set(bit(field.id));
    }

    void adjust(const ParamField &field, int64_t from, int64_t to, int protocol)
    {
        set(field, to);
        m_plan.result.adjusted.append({field.id, from, to, FieldAdjustment::Reason::ProtocolLimit, protocol});
    }

    // Every matrix module takes a channel of its own.
    void modulesPerChannel(int channelMax, int protocol)
    {
        const ParamField &x = paramField(FieldId::MatrixModulesX);
        const ParamField &y = paramField(FieldId::MatrixModulesY);
        const int64_t modulesX = fieldIn(m_plan.words, x);
        const int64_t modulesY = fieldIn(m_plan.words, y);
        if (m_exempt.test(bit(x.id)) || matrixModulesFit(int(modulesX), int(modulesY), channelMax))
            return;
        if (m_named.test(bit(x.id)) || m_named.test(bit(y.id))) {
            refuse(m_named.test(bit(y.id)) ? y.id : x.id, m_named.test(bit(y.id)) ? modulesY : modulesX,
                   QStringLiteral("%1 x %2 modules need more than the %3 channels of %4")
                       .arg(modulesX)
                       .arg(modulesY)
                       .arg(channelMax)
                       .arg(QLatin1String(paramField(FieldId::LedProtocol).items[std::size_t(protocol)].token)));
            return;
        }
        adjust(y, modulesY, std::max<int64_t>(1, channelMax / std::max<int64_t>(1, modulesX)), protocol);
    }

    ChangePlan m_plan;
    int m_capacity;
    std::bitset<kFieldCount> m_named;  // set by name in this change: held to the protocol's limits
    std::bitset<kFieldCount> m_exempt; // given raw: neither judged nor adjusted
};

} // namespace

ChangePlan planChanges(const ParamWords &current, int capacity, const QList<FieldChange> &fields,
                       const QList<WordChange> &words, WordCheck check)
{
    Planner planner(current, capacity);
    for (const WordChange &change : words)
        planner.word(change, check);
    for (const FieldChange &change : fields)
        planner.field(change);
    planner.protocolLimits();
    return planner.finish();
}

QString describeAdjustment(const FieldAdjustment &a, const AdjustmentWording &wording)
{
    const QString field = wording.field(a.field);
    if (a.reason == FieldAdjustment::Reason::DeviceStep)
        return wording.pattern(QStringLiteral("%1 kept as %2 instead of %3 (steps of %4)"))
            .arg(field)
            .arg(a.to)
            .arg(a.from)
            .arg(paramField(a.field).scale);
    return wording.pattern(QStringLiteral("%1 lowered from %2 to %3: %4 allows at most %5"))
        .arg(field)
        .arg(a.from)
        .arg(a.to)
        .arg(wording.protocol(a.protocol))
        .arg(a.to);
}

AdjustmentWording fieldNameWording()
{
    return {[](FieldId id) { return QString::fromLatin1(paramField(id).name); },
            [](int protocol) {
                const auto items = paramField(FieldId::LedProtocol).items;
                return protocol >= 0 && protocol < int(items.size()) ? QString::fromLatin1(items[std::size_t(protocol)].token)
                                                                     : QString::number(protocol);
            }};
}
