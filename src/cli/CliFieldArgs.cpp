#include "cli/CliFieldArgs.h"

#include <algorithm>

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

} // namespace

bool ParseParamValue(const QString &text, uint32_t *value)
{
    const bool hex = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const QString digits = hex ? text.mid(2) : text;
    // toULongLong would accept a sign and blanks; the command line does not.
    const auto isDigit = [hex](QChar c) {
        const char l = c.toLatin1();
        return (l >= '0' && l <= '9') || (hex && ((l >= 'a' && l <= 'f') || (l >= 'A' && l <= 'F')));
    };
    if (digits.isEmpty() || !std::all_of(digits.cbegin(), digits.cend(), isDigit))
        return false;
    bool ok = false;
    const qulonglong v = digits.toULongLong(&ok, hex ? 16 : 10);
    if (!ok || v > 0xFFFFFFFFull)
        return false;
    *value = uint32_t(v);
    return true;
}

bool ParseFieldValue(const ParamField &field, const QString &text, int64_t *value, QString *error)
{
    int64_t v = -1;
    if (field.isList()) {
        for (std::size_t i = 0; i < field.items.size(); ++i) {
            if (text == QLatin1String(field.items[i].token))
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

QString FormatFieldValue(const ParamField &field, int64_t value)
{
    if (field.isList() && value >= 0 && value < int64_t(field.items.size()))
        return QLatin1String(field.items[std::size_t(value)].token);
    return QString::number(value);
}

QList<int> CliSelection::tagsToRead() const
{
    QList<int> read = tags;
    for (FieldId f : fields)
        appendOnce(read, tagIndexOf(paramField(f).tag));
    std::sort(read.begin(), read.end());
    return read;
}

bool ParseSelection(const QStringList &args, bool fieldsOnly, CliSelection *s, QString *error)
{
    for (const QString &name : args) {
        const ParamField *field = findField(name);
        const int tag = tagIndex(name);
        if (field) {
            appendOnce(s->fields, field->id);
        } else if (tag >= 0 && fieldsOnly) {
            for (const ParamField &f : paramRecords()[std::size_t(tag)].fields)
                appendOnce(s->fields, f.id);
        } else if (tag >= 0) {
            appendOnce(s->tags, tag);
        } else {
            *error = unknownName(name);
            return false;
        }
    }
    if (args.isEmpty()) {
        for (const ParamField &f : paramFields()) {
            if (fieldsOnly)
                s->fields.append(f.id);
        }
        for (int t = 0; t < kParamTagCount && !fieldsOnly; ++t)
            s->tags.append(t);
    }
    std::sort(s->tags.begin(), s->tags.end());
    std::sort(s->fields.begin(), s->fields.end());
    return true;
}

bool ParseAssignments(const QStringList &args, bool raw, QList<CliAssignment> *assignments, QString *error)
{
    if (args.isEmpty()) {
        *error = QStringLiteral("set needs at least one TAG=VALUE or FIELD=VALUE");
        return false;
    }
    for (const QString &arg : args) {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq < 0) {
            *error = QStringLiteral("\"%1\" is not TAG=VALUE or FIELD=VALUE").arg(arg);
            return false;
        }
        const QString name = arg.left(eq);
        const QString text = arg.mid(eq + 1);
        CliAssignment a{ParamTag::LMAX};
        if (const ParamField *field = findField(name)) {
            a.tag = field->tag;
            a.field = field;
            if (!ParseFieldValue(*field, text, &a.value, error))
                return false;
        } else if (const int tag = tagIndex(name); tag >= 0) {
            a.tag = static_cast<ParamTag>(tag);
            if (a.tag == ParamTag::LMAX) {
                *error = QStringLiteral("LMAX is the controller's LED capacity and cannot be set");
                return false;
            }
            if (!ParseParamValue(text, &a.word)) {
                *error = QStringLiteral("%1: \"%2\" is not a 32-bit value (decimal or 0x-hex)").arg(name, text);
                return false;
            }
            if (QString problem = raw ? QString() : wordProblem(a.tag, a.word); !problem.isEmpty()) {
                *error = problem + QStringLiteral(" (--raw writes it as it is)");
                return false;
            }
        } else {
            *error = unknownName(name);
            return false;
        }
        // A tag and one of its fields, or the same name twice, would leave
        // it to the order of the arguments which one counts.
        for (const CliAssignment &b : std::as_const(*assignments)) {
            if (b.tag != a.tag || (a.field && b.field && a.field != b.field))
                continue;
            *error = a.field == b.field ? QStringLiteral("%1 is given more than once").arg(name)
                                        : QStringLiteral("%1 and a field of %1 are both given")
                                              .arg(QLatin1String(tagCode(a.tag)));
            return false;
        }
        assignments->append(a);
    }
    std::stable_sort(assignments->begin(), assignments->end(), [](const CliAssignment &x, const CliAssignment &y) {
        return tagIndexOf(x.tag) < tagIndexOf(y.tag);
    });
    return true;
}
