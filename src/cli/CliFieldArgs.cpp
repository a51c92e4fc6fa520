#include "cli/CliFieldArgs.h"

#include <algorithm>
#include <charconv>

namespace {

QString unknownName(const QString &name)
{
    QStringList valid;
    for (const char *code : kParamTagCodes)
        valid << QString::fromLatin1(code);
    return QStringLiteral("unknown tag or field \"%1\"; valid tags: %2; fields: see describe")
        .arg(name, valid.join(QLatin1Char(' ')));
}

template <typename T>
void appendOnce(QList<T> &list, T item)
{
    if (!list.contains(item))
        list.append(item);
}

CliOutcome named(CliOutcome outcome, const QString &name)
{
    if (const ParamField *f = findFieldName(name))
        outcome.field = QLatin1String(f->name);
    else if (const int tag = findTagName(name); tag >= 0)
        outcome.result.tag = QLatin1String(tagCode(tag));
    return outcome;
}

} // namespace

const ParamField *findFieldName(const QString &name)
{
    return findField(name.toLower());
}

int findTagName(const QString &name)
{
    return tagIndex(name.toUpper());
}

bool parseParamValue(const QString &text, uint32_t *value)
{
    const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    // from_chars takes no sign, blank or prefix, and refuses what overflows.
    const QByteArray digits = (hex ? text.mid(2) : text).toLatin1();
    const char *end = digits.constData() + digits.size();
    uint32_t v = 0;
    const auto [stop, error] = std::from_chars(digits.constData(), end, v, hex ? 16 : 10);
    if (digits.isEmpty() || error != std::errc() || stop != end)
        return false;
    *value = v;
    return true;
}

bool parseFieldValue(const ParamField &field, const QString &text, int64_t *value, QString *error)
{
    int64_t v = -1;
    if (field.isList()) {
        for (std::size_t i = 0; i < field.items.size(); ++i) {
            if (text.compare(QLatin1String(field.items[i].token), Qt::CaseInsensitive) == 0)
                v = int64_t(i);
        }
    } else {
        const bool digits = !text.isEmpty() && text.size() <= 10
            && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        if (!digits) {
            *error = QStringLiteral("%1: \"%2\" is not a number").arg(QLatin1String(field.name), text);
            return false;
        }
        v = text.toLongLong();
    }
    if (const QString problem = fieldValueProblem(field, v); !problem.isEmpty()) {
        *error = problem;
        return false;
    }
    *value = v;
    return true;
}

QString formatFieldValue(const ParamField &field, int64_t value)
{
    if (field.isList() && value >= 0 && value < int64_t(field.items.size()))
        return QLatin1String(field.items[std::size_t(value)].token);
    return QString::number(value);
}

QList<int> CliSelection::tagsToRead() const
{
    QList<int> read;
    for (const Item &item : items)
        appendOnce(read, item.tag >= 0 ? item.tag : tagIndexOf(paramField(item.field).tag));
    std::sort(read.begin(), read.end());
    return read;
}

bool CliSelection::hasTags() const
{
    return std::any_of(items.cbegin(), items.cend(), [](const Item &i) { return i.tag >= 0; });
}

bool CliSelection::hasFields() const
{
    return std::any_of(items.cbegin(), items.cend(), [](const Item &i) { return i.tag < 0; });
}

CliOutcome parseSelection(const QStringList &args, bool fieldsOnly, CliSelection *s)
{
    const auto addFields = [s](std::span<const ParamField> fields) {
        for (const ParamField &f : fields)
            appendOnce(s->items, CliSelection::Item{-1, f.id});
    };
    for (const QString &name : args) {
        const ParamField *field = findFieldName(name);
        const int tag = findTagName(name);
        if (field)
            addFields({field, 1});
        else if (tag >= 0 && fieldsOnly)
            addFields(paramRecords()[std::size_t(tag)].fields);
        else if (tag >= 0)
            appendOnce(s->items, CliSelection::Item{tag});
        else
            return CliOutcome::usage(unknownName(name));
    }
    if (args.isEmpty() && fieldsOnly)
        addFields(paramFields());
    for (int t = 0; args.isEmpty() && !fieldsOnly && t < kParamTagCount; ++t)
        s->items.append(CliSelection::Item{t});
    return {};
}

CliOutcome parseAssignments(const QStringList &args, bool raw, QList<CliAssignment> *assignments)
{
    if (args.isEmpty())
        return CliOutcome::usage(QStringLiteral("set needs at least one TAG=VALUE or FIELD=VALUE"));
    for (const QString &arg : args) {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq < 0)
            return CliOutcome::usage(QStringLiteral("\"%1\" is not TAG=VALUE or FIELD=VALUE").arg(arg));
        const QString name = arg.left(eq);
        const QString text = arg.mid(eq + 1);
        CliAssignment a{ParamTag::LMAX};
        QString error;
        if (const ParamField *field = findFieldName(name)) {
            a.tag = field->tag;
            a.field = field;
            if (!parseFieldValue(*field, text, &a.value, &error))
                return named(CliOutcome::usage(error), name);
        } else if (const int tag = findTagName(name); tag >= 0) {
            a.tag = static_cast<ParamTag>(tag);
            if (a.tag == ParamTag::LMAX)
                return named(CliOutcome::usage(QStringLiteral("LMAX is the controller's LED capacity and cannot be set")), name);
            if (!parseParamValue(text, &a.word)) {
                return named(CliOutcome::usage(QStringLiteral("%1: \"%2\" is not a 32-bit value (decimal or 0x-hex)")
                                                   .arg(QLatin1String(tagCode(tag)), text)),
                             name);
            }
            if (QString problem = raw ? QString() : wordProblem(a.tag, a.word); !problem.isEmpty())
                return named(CliOutcome::usage(problem + QStringLiteral(" (--raw writes it as it is)")), name);
        } else {
            return CliOutcome::usage(unknownName(name));
        }
        // A tag and one of its fields, or the same name twice, would leave
        // it to the order of the arguments which one counts.
        for (const CliAssignment &b : std::as_const(*assignments)) {
            if (b.tag != a.tag || (a.field && b.field && a.field != b.field))
                continue;
            return named(CliOutcome::usage(a.field == b.field ? QStringLiteral("%1 is given more than once").arg(name)
                                                              : QStringLiteral("%1 and a field of %1 are both given")
                                                                    .arg(QLatin1String(tagCode(a.tag)))),
                         name);
        }
        assignments->append(a);
    }
    return {};
}
