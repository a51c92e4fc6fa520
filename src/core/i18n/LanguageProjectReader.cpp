// Reader of the language project text (TProject's stream constructor).
//
// The text is UTF-16LE with CR LF line ends. Lines are found by a byte-wise
// search for 0D 00 0A 00 that is not bound to even offsets, exactly as the
// files have always been split; bytes after the last CR LF are never read.

#include "core/i18n/LanguageProject.h"

#include "core/i18n/LanguageError.h"
#include "core/i18n/LanguageText.h"

#include <QHash>
#include <QSet>
#include <QtEndian>

#include <limits>

namespace {

using namespace Qt::Literals::StringLiterals;

enum class TSection { None, Settings, Options, IgnoreStrings, IgnoreFiles, Languages, Entries };

constexpr char LineEnd[] = {'\x0D', '\x00', '\x0A', '\x00'};

// Decodes one line's bytes; a U+0000 ends the text early. An odd last byte
// cannot form a code unit and is dropped.
QString DecodeLine(const char *Bytes, qsizetype Size)
{
    QString Text(Size / 2, Qt::Uninitialized);
    qFromLittleEndian<char16_t>(Bytes, Text.size(), Text.data());
    const qsizetype Nul = Text.indexOf(QChar(0));
    if (Nul >= 0)
        Text.truncate(Nul);
    return Text;
}

TSection SectionOf(const QString &Line, bool *IsHeader)
{
    static const std::pair<QLatin1StringView, TSection> Headers[] = {
        {"[settings]"_L1, TSection::Settings},
        {"[options]"_L1, TSection::Options},
        {"[ignorestrings]"_L1, TSection::IgnoreStrings},
        {"[ignorefiles]"_L1, TSection::IgnoreFiles},
        {"[languages]"_L1, TSection::Languages},
        {"[entries]"_L1, TSection::Entries},
    };
    for (const auto &[Header, Section] : Headers) {
        if (EqualsKey(Line, Header)) {
            *IsHeader = true;
            return Section;
        }
    }
    *IsHeader = false;
    return TSection::None;
}

// Only the one character after the key is read, as a decimal digit (else 0):
// files written by earlier versions rely on this, so values from 10 up do not
// come back unchanged.
qint32 ParseImportOpts(QStringView Value)
{
    if (Value.isEmpty() || Value.front() < u'0' || Value.front() > u'9')
        return 0;
    return Value.front().unicode() - u'0';
}

class TProjectReader
{
public:
    TProjectReader(TProject &Project, const TLanguageList &Catalogue)
        : P(Project), Catalogue(Catalogue)
    {
    }

    void Read(const QByteArray &Data)
    {
        const QByteArrayView Separator(LineEnd, sizeof(LineEnd));
        qsizetype Start = 0;
        for (;;) {
            const qsizetype Match = Data.indexOf(Separator, Start);
            if (Match < 0)
                break;
            if (Match > Start)
                HandleLine(DecodeLine(Data.constData() + Start, Match - Start));
            Start = Match + Separator.size();
        }
        Finish();
    }

private:
    void HandleLine(const QString &Line)
    {
        bool IsHeader = false;
        const TSection Header = SectionOf(Line, &IsHeader);
        if (IsHeader) {
            Section = Header;
            return;
        }
        switch (Section) {
        case TSection::None: break;
        case TSection::Settings: HandleSettings(Line); break;
        case TSection::Options: HandleOptions(Line); break;
        case TSection::IgnoreStrings:
            if (StartsWithKey(Line, "name="_L1) && !IsBlankText(Line.mid(5)))
                P.IgnoreStrings.append(UnescapeText(Line.mid(5)));
            break;
        case TSection::IgnoreFiles:
            if (StartsWithKey(Line, "name="_L1) && !IsBlankText(Line.mid(5)))
                P.IgnoreFiles.append(Line.mid(5));
            break;
        case TSection::Languages: HandleLanguage(Line); break;
        case TSection::Entries: HandleEntryLine(Line); break;
        }
    }

    void HandleSettings(const QString &Line)
    {
        if (StartsWithKey(Line, "name="_L1))
            P.Name = Line.mid(5);
        else if (StartsWithKey(Line, "primarylanguage="_L1))
            PrimaryCode = Line.mid(16, 2);
    }

    void HandleOptions(const QString &Line)
    {
        if (StartsWithKey(Line, "importdir="_L1))
            P.ImportDir = Line.mid(10);
        else if (StartsWithKey(Line, "importopts="_L1))
            P.ImportOpts = ParseImportOpts(QStringView(Line).mid(11));
    }

    void HandleLanguage(const QString &Line)
    {
        const QString Code = StartsWithKey(Line, "id="_L1) ? Line.mid(3) : QString();
        if (Code.size() != 2)
            return;
        if (TLanguage *Language = Catalogue.FindLanguageExact(Code))
            AddProjectLanguage(Language);
    }

    void HandleEntryLine(const QString &Line)
    {
        if (StartsWithKey(Line, "text_id="_L1)) {
            // An entry that never got a translation line is dropped.
            if (Current && Current->Translations.isEmpty())
                P.Entries.Delete(P.Entries.Count() - 1);
            Current = P.Entries.Add(std::make_unique<TEntry>(UnescapeText(Line.mid(8)), &P));
        } else if (StartsWithKey(Line, "occurence="_L1) || StartsWithKey(Line, "occurance="_L1)) {
            if (!Current)
                return;
            try {
                Current->Occurences.append(TOccurence::Create(Line.mid(10)));
            } catch (const TLanguageError &) {
                // a malformed occurrence is only meta data: skip the line
            }
        } else if (StartsWithKey(Line, "text_"_L1)) {
            if (!Current)
                return;
            const QString Code = Line.mid(5, 2);
            TLanguage *Language = ProjectLanguages.value(Code);
            if (!Language) {
                Language = Catalogue.FindLanguageExact(Code);
                if (!Language)
                    return;
                AddProjectLanguage(Language);
            }
            // Position 8 is normally "=", but it is not checked.
            Current->Translations.append(TTranslation(Language, UnescapeText(Line.mid(8))));
        }
    }

    void AddProjectLanguage(TLanguage *Language)
    {
        P.Languages.Add(Language);
        if (!ProjectLanguages.contains(Language->ID))
            ProjectLanguages.insert(Language->ID, Language);
    }

    void Finish()
    {
        if (PrimaryCode.size() == 2)
            P.PrimaryLanguage = ProjectLanguages.value(PrimaryCode);
        if (!P.PrimaryLanguage)
            throw TLanguageError(u"No primary language could be found"_s);
        CompleteTranslations();
    }

    // Every entry gets an (empty) translation for every project language it
    // lacks, in project-language order. A language listed twice is handled
    // once, which gives the same result without a quadratic walk.
    void CompleteTranslations()
    {
        QList<TLanguage *> Distinct;
        QSet<TLanguage *> Seen;
        for (TLanguage *Language : P.Languages) {
            if (!Seen.contains(Language)) {
                Seen.insert(Language);
                Distinct.append(Language);
            }
        }
        for (const auto &Entry : P.Entries) {
            QSet<const TLanguage *> Present;
            for (const TTranslation &T : std::as_const(Entry->Translations))
                Present.insert(T.Language);
            for (TLanguage *Language : std::as_const(Distinct)) {
                if (!Present.contains(Language))
                    Entry->Translations.append(TTranslation(Language, QString()));
            }
        }
    }

    TProject &P;
    const TLanguageList &Catalogue;
    TSection Section = TSection::None;
    TEntry *Current = nullptr;
    QString PrimaryCode;
    // First project language per code; codes are compared exactly.
    QHash<QString, TLanguage *> ProjectLanguages;
};

} // namespace

void TProject::Read(const QByteArray &Stream, const TLanguageList &Catalogue)
{
    TProjectReader(*this, Catalogue).Read(Stream);
}
