#include "core/i18n/LanguageText.h"

#include <algorithm>

quint32 entryHash(const QString &text)
{
    quint32 h = 0;
    for (const QChar c : text) {
        h = (h << 4) + c.unicode();
        const quint32 g = h & 0xF0000000u;
        if (g != 0)
            h ^= g >> 24;
        h &= ~g;
    }
    return h;
}

QString escapeText(const QString &text)
{
    // Most texts hold no line break: share them instead of copying.
    if (!text.contains(QChar(u'\r')) && !text.contains(QChar(u'\n')))
        return text;
    QString result = text;
    result.replace(QChar(u'\r'), QLatin1StringView("\\r"));
    result.replace(QChar(u'\n'), QLatin1StringView("\\n"));
    return result;
}

QString unescapeText(QStringView text)
{
    QString result = text.toString();
    if (!text.contains(QChar(u'\\')))
        return result;
    result.replace(QLatin1StringView("\\r"), QStringLiteral("\r"));
    result.replace(QLatin1StringView("\\n"), QStringLiteral("\n"));
    return result;
}

static bool isBlankChar(QChar c)
{
    return c.unicode() <= 0x20;
}

bool isBlankText(QStringView text)
{
    return std::all_of(text.cbegin(), text.cend(), isBlankChar);
}

QString trimControls(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlankChar(text.at(first)))
        ++first;
    while (last > first && isBlankChar(text.at(last - 1)))
        --last;
    return text.mid(first, last - first);
}

static char16_t asciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

bool startsWithKey(QStringView line, QLatin1StringView key)
{
    if (line.size() < key.size())
        return false;
    for (qsizetype i = 0; i < key.size(); ++i) {
        if (asciiLower(line.at(i).unicode()) != asciiLower(char16_t(uchar(key.at(i).toLatin1()))))
            return false;
    }
    return true;
}

bool equalsKey(QStringView line, QLatin1StringView key)
{
    return line.size() == key.size() && startsWithKey(line, key);
}
