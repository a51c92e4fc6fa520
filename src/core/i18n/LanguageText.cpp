#include "core/i18n/LanguageText.h"

#include <algorithm>

quint32 EntryHash(const QString &Text)
{
    quint32 h = 0;
    for (const QChar c : Text) {
        h = (h << 4) + c.unicode();
        const quint32 g = h & 0xF0000000u;
        if (g != 0)
            h ^= g >> 24;
        h &= ~g;
    }
    return h;
}

QString EscapeText(const QString &Text)
{
    // Most texts hold no line break: share them instead of copying.
    if (!Text.contains(QChar(u'\r')) && !Text.contains(QChar(u'\n')))
        return Text;
    QString Result = Text;
    Result.replace(QChar(u'\r'), QLatin1StringView("\\r"));
    Result.replace(QChar(u'\n'), QLatin1StringView("\\n"));
    return Result;
}

QString UnescapeText(QStringView Text)
{
    QString Result = Text.toString();
    if (!Text.contains(QChar(u'\\')))
        return Result;
    Result.replace(QLatin1StringView("\\r"), QStringLiteral("\r"));
    Result.replace(QLatin1StringView("\\n"), QStringLiteral("\n"));
    return Result;
}

static bool IsBlankChar(QChar c)
{
    return c.unicode() <= 0x20;
}

bool IsBlankText(QStringView Text)
{
    return std::all_of(Text.cbegin(), Text.cend(), IsBlankChar);
}

QString TrimControls(const QString &Text)
{
    qsizetype First = 0;
    qsizetype Last = Text.size();
    while (First < Last && IsBlankChar(Text.at(First)))
        ++First;
    while (Last > First && IsBlankChar(Text.at(Last - 1)))
        --Last;
    return Text.mid(First, Last - First);
}

static char16_t AsciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

bool StartsWithKey(QStringView Line, QLatin1StringView Key)
{
    if (Line.size() < Key.size())
        return false;
    for (qsizetype i = 0; i < Key.size(); ++i) {
        if (AsciiLower(Line.at(i).unicode()) != AsciiLower(char16_t(uchar(Key.at(i).toLatin1()))))
            return false;
    }
    return true;
}

bool EqualsKey(QStringView Line, QLatin1StringView Key)
{
    return Line.size() == Key.size() && StartsWithKey(Line, Key);
}
