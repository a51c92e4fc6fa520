#include "ui/dialogs/DebugFormat.h"

#include <algorithm>

namespace {

// Keeps a stray "%99999999d" from allocating a huge string.
constexpr int MaxField = 1000;

struct Directive
{
    QByteArray flags;
    int width = -1;
    int precision = -1;
    char conversion = 0;
};

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int readNumber(const QString &form, qsizetype &i)
{
    int value = 0;
    for (; i < form.size() && isAsciiDigit(form[i]); ++i)
        value = std::min(value * 10 + (form[i].unicode() - '0'), MaxField);
    return value;
}

// The printf directive rebuilt from checked parts only, with our own length
// modifier, so the C formatter never sees text from the caller.
QByteArray cDirective(const Directive &s, const char *length)
{
    QByteArray d = "%" + s.flags;
    if (s.width >= 0)
        d += QByteArray::number(s.width);
    if (s.precision >= 0)
        d += "." + QByteArray::number(s.precision);
    return d + length + s.conversion;
}

// Hex and unsigned output of a negative value shows its bit pattern in the
// width the value came in: 32 bits unless it is a 64-bit number.
qulonglong unsignedPattern(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        return v.toULongLong();
    case QMetaType::LongLong:
    case QMetaType::Long:
        return qulonglong(v.toLongLong());
    default: {
        const qlonglong n = v.toLongLong();
        return n < 0 ? qulonglong(quint32(n)) : qulonglong(n);
    }
    }
}

QString charOf(const QVariant &v)
{
    if (v.typeId() == QMetaType::QChar)
        return QString(v.toChar());
    if (v.typeId() == QMetaType::QString)
        return v.toString().left(1);
    const qlonglong n = v.toLongLong();
    if (n <= 0 || n > 0x10FFFF)
        return {};
    const char32_t cp = char32_t(n);
    return QString::fromUcs4(&cp, 1);
}

QString pad(QString text, const Directive &s)
{
    const qsizetype fill = s.width - text.size();
    if (fill <= 0)
        return text;
    const QString blanks(fill, QLatin1Char(' '));
    return s.flags.contains('-') ? text + blanks : blanks + text;
}

QString convert(const Directive &s, const QVariant &v)
{
    switch (s.conversion) {
    case 'd':
    case 'i':
        return QString::asprintf(cDirective(s, "ll").constData(), v.toLongLong());
    case 'u':
    case 'X':
    case 'o':
        return QString::asprintf(cDirective(s, "ll").constData(), unsignedPattern(v));
    case 'x': {
        // Hexadecimal is written in capitals whichever letter asks for it.
        Directive upper = s;
        upper.conversion = 'X';
        return QString::asprintf(cDirective(upper, "ll").constData(), unsignedPattern(v));
    }
    case 'f':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
        return QString::asprintf(cDirective(s, "").constData(), v.toDouble());
    case 'c':
        return pad(charOf(v), s);
    case 's': {
        const QString text = v.toString();
        return pad(s.precision >= 0 ? text.left(s.precision) : text, s);
    }
    }
    return {};
}

bool isConversion(QChar c)
{
    return c.unicode() < 128 && QByteArrayView("diuxXofeEgGcs").contains(char(c.unicode()));
}

} // namespace

QString formatText(const QString &form, const QVariantList &args)
{
    QString out;
    qsizetype next = 0;
    qsizetype i = 0;
    while (i < form.size()) {
        if (form[i] != QLatin1Char('%')) {
            out += form[i++];
            continue;
        }
        const qsizetype start = i++;
        if (i < form.size() && form[i] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        Directive s;
        for (; i < form.size() && QStringView(u"-+ 0#").contains(form[i]); ++i)
            s.flags += char(form[i].unicode());
        if (i < form.size() && isAsciiDigit(form[i]))
            s.width = readNumber(form, i);
        if (i < form.size() && form[i] == QLatin1Char('.')) {
            ++i;
            s.precision = readNumber(form, i);
        }
        // Length modifiers mean nothing here: each value carries its own type.
        while (i < form.size() && QStringView(u"hlLqjzt").contains(form[i]))
            ++i;
        if (i >= form.size() || !isConversion(form[i]) || next >= args.size()) {
            const qsizetype end = std::min(i + 1, form.size());
            out += form.mid(start, end - start);
            i = end;
            continue;
        }
        s.conversion = char(form[i++].unicode());
        out += convert(s, args.at(next++));
    }
    return out;
}
