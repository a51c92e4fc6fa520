#include "cli/CliParamArgs.h"

#include "core/protocol/ParamTags.h"

#include <algorithm>

namespace {
QString unknownTag(const QString &tag)
{
    QStringList valid;
    for (const char *code : kParamTagCodes)
        valid << QString::fromLatin1(code);
    return QStringLiteral("unknown tag \"%1\"; valid tags: %2").arg(tag, valid.join(QLatin1Char(' ')));
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

bool ParseTagList(const QStringList &args, QList<int> *indexes, QString *error)
{
    for (const QString &tag : args) {
        const int index = tagIndex(tag);
        if (index < 0) {
            *error = unknownTag(tag);
            return false;
        }
        if (!indexes->contains(index))
            indexes->append(index);
    }
    std::sort(indexes->begin(), indexes->end());
    return true;
}

bool ParseAssignments(const QStringList &args, QList<ParamAssignment> *assignments, QString *error)
{
    if (args.isEmpty()) {
        *error = QStringLiteral("set needs at least one TAG=VALUE");
        return false;
    }
    for (const QString &arg : args) {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (eq < 0) {
            *error = QStringLiteral("\"%1\" is not TAG=VALUE").arg(arg);
            return false;
        }
        const QString tag = arg.left(eq);
        ParamAssignment a;
        a.index = tagIndex(tag);
        if (a.index < 0) {
            *error = unknownTag(tag);
            return false;
        }
        if (a.index == int(ParamTag::LMAX)) {
            *error = QStringLiteral("LMAX is the controller's LED capacity and cannot be set");
            return false;
        }
        if (!ParseParamValue(arg.mid(eq + 1), &a.value)) {
            *error = QStringLiteral("%1: \"%2\" is not a 32-bit value (decimal or 0x-hex)").arg(tag, arg.mid(eq + 1));
            return false;
        }
        const auto same = [&a](const ParamAssignment &b) { return b.index == a.index; };
        if (std::any_of(assignments->cbegin(), assignments->cend(), same)) {
            *error = QStringLiteral("%1 is given more than once").arg(tag);
            return false;
        }
        assignments->append(a);
    }
    std::sort(assignments->begin(), assignments->end(),
              [](const ParamAssignment &x, const ParamAssignment &y) { return x.index < y.index; });
    return true;
}
