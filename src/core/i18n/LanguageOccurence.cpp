#include "core/i18n/LanguageOccurence.h"

#include "core/i18n/LanguageError.h"
#include "core/i18n/LanguageText.h"

#include <algorithm>

namespace {

constexpr char16_t Delimiter = u':';
constexpr char16_t Quote = u'"';

bool IsSeparatorBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 0x20;
}

// Splits like a string list's delimited text with ':' as delimiter and '"' as
// quote character (non-strict): blanks also end a field, a quoted field may hold
// anything, and "" inside quotes stands for one quote. U+0000 ends the text.
QStringList SplitDelimited(QStringView Text)
{
    const qsizetype End = [&] {
        const qsizetype Nul = Text.indexOf(QChar(0));
        return Nul < 0 ? Text.size() : Nul;
    }();
    QStringList Fields;
    qsizetype p = 0;
    auto SkipBlanks = [&] {
        while (p < End && IsSeparatorBlank(Text.at(p)))
            ++p;
    };
    SkipBlanks();
    while (p < End) {
        QString Field;
        if (Text.at(p) == Quote) {
            // Copied in runs up to each quote rather than character by character.
            qsizetype Run = ++p;
            while (p < End) {
                if (Text.at(p) == Quote) {
                    Field += Text.sliced(Run, p - Run);
                    if (p + 1 < End && Text.at(p + 1) == Quote) {
                        Field += QChar(Quote);
                        p += 2;
                        Run = p;
                        continue;
                    }
                    Run = ++p;
                    break;
                }
                ++p;
            }
            if (Run < p)
                Field += Text.sliced(Run, p - Run);
        } else {
            const qsizetype Start = p;
            while (p < End && Text.at(p).unicode() > 0x20 && Text.at(p) != Delimiter)
                ++p;
            Field = Text.mid(Start, p - Start).toString();
        }
        Fields.append(Field);
        SkipBlanks();
        if (p < End && Text.at(p) == Delimiter) {
            if (p + 1 == End)
                Fields.append(QString());
            ++p;
            SkipBlanks();
        }
    }
    return Fields;
}


} // namespace

TOccurence::TOccurence(const QString &Filename, qint32 Line, const QString &Component)
    : Filename(Filename), Line(Line), Component(Component)
{
}

bool TOccurence::Parse(QStringView Line, TOccurence *Out)
{
    const QStringList Fields = SplitDelimited(Line);
    if (Fields.size() != 2 && Fields.size() != 3) {
        *Out = TOccurence();
        return true;
    }
    bool Ok = false;
    const int Number = Fields.at(1).toInt(&Ok, 10);
    if (!Ok)
        return false;
    *Out = TOccurence(Fields.at(0), Number, Fields.value(2));
    return true;
}

TOccurence TOccurence::Create(const QString &Line)
{
    TOccurence Result;
    if (!Parse(Line, &Result)) {
        const QStringList Fields = SplitDelimited(Line);
        throw TLanguageError(QStringLiteral("'%1' is not a valid integer value").arg(Fields.at(1)));
    }
    return Result;
}

QString TOccurence::GetString() const
{
    QString Result = Filename + u':' + QString::number(Line);
    if (!Component.isEmpty())
        Result += u':' + Component;
    return Result;
}

QString TOccurenceList::GetText() const
{
    QString Text;
    for (const TOccurence &Occurence : *this)
        Text += Occurence.GetString() + QStringLiteral("\r\n");
    return TrimControls(Text);
}

bool TOccurenceList::ContainsFile(const QString &Filename) const
{
    return std::any_of(cbegin(), cend(), [&](const TOccurence &O) {
        return O.Filename.compare(Filename, Qt::CaseInsensitive) == 0;
    });
}

bool TOccurenceList::ContainsFileFrom(const QStringList &Files) const
{
    return std::any_of(Files.cbegin(), Files.cend(),
                       [this](const QString &File) { return ContainsFile(File); });
}
