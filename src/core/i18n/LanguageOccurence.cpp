#include "core/i18n/LanguageOccurence.h"

#include "core/i18n/LanguageError.h"
#include "core/i18n/LanguageText.h"

#include <algorithm>

namespace {

constexpr char16_t Delimiter = u':';
constexpr char16_t Quote = u'"';

bool isSeparatorBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 0x20;
}

// Splits like a string list's delimited text with ':' as delimiter and '"' as
// quote character (non-strict): blanks also end a field, a quoted field may hold
// anything, and "" inside quotes stands for one quote. U+0000 ends the text.
QStringList splitDelimited(QStringView text)
{
    const qsizetype end = [&] {
        const qsizetype nul = text.indexOf(QChar(0));
        return nul < 0 ? text.size() : nul;
    }();
    QStringList fields;
    qsizetype p = 0;
    auto skipBlanks = [&] {
        while (p < end && isSeparatorBlank(text.at(p)))
            ++p;
    };
    skipBlanks();
    while (p < end) {
        QString field;
        if (text.at(p) == Quote) {
            // Copied in runs up to each quote rather than character by character.
            qsizetype run = ++p;
            while (p < end) {
                if (text.at(p) == Quote) {
                    field += text.sliced(run, p - run);
                    if (p + 1 < end && text.at(p + 1) == Quote) {
                        field += QChar(Quote);
                        p += 2;
                        run = p;
                        continue;
                    }
                    run = ++p;
                    break;
                }
                ++p;
            }
            if (run < p)
                field += text.sliced(run, p - run);
        } else {
            const qsizetype start = p;
            while (p < end && text.at(p).unicode() > 0x20 && text.at(p) != Delimiter)
                ++p;
            field = text.mid(start, p - start).toString();
        }
        fields.append(field);
        skipBlanks();
        if (p < end && text.at(p) == Delimiter) {
            if (p + 1 == end)
                fields.append(QString());
            ++p;
            skipBlanks();
        }
    }
    return fields;
}


} // namespace

TOccurence::TOccurence(const QString &filename, qint32 line, const QString &component)
    : Filename(filename), Line(line), Component(component)
{
}

bool TOccurence::parse(QStringView line, TOccurence *out)
{
    const QStringList fields = splitDelimited(line);
    if (fields.size() != 2 && fields.size() != 3) {
        *out = TOccurence();
        return true;
    }
    bool ok = false;
    const int number = fields.at(1).toInt(&ok, 10);
    if (!ok)
        return false;
    *out = TOccurence(fields.at(0), number, fields.value(2));
    return true;
}

TOccurence TOccurence::Create(const QString &line)
{
    TOccurence result;
    if (!parse(line, &result)) {
        const QStringList fields = splitDelimited(line);
        throw LanguageError(QStringLiteral("'%1' is not a valid integer value").arg(fields.at(1)));
    }
    return result;
}

QString TOccurence::GetString() const
{
    QString result = Filename + u':' + QString::number(Line);
    if (!Component.isEmpty())
        result += u':' + Component;
    return result;
}

QString TOccurenceList::GetText() const
{
    QString text;
    for (const TOccurence &occurence : *this)
        text += occurence.GetString() + QStringLiteral("\r\n");
    return trimControls(text);
}

bool TOccurenceList::ContainsFile(const QString &filename) const
{
    return std::any_of(cbegin(), cend(), [&](const TOccurence &o) {
        return o.Filename.compare(filename, Qt::CaseInsensitive) == 0;
    });
}

bool TOccurenceList::ContainsFileFrom(const QStringList &files) const
{
    return std::any_of(files.cbegin(), files.cend(),
                       [this](const QString &file) { return ContainsFile(file); });
}
