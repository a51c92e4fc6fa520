// Reader of the language project text (TProject's stream constructor).
//
// The text is UTF-16LE with CR LF line ends. Lines are found by a byte-wise
// search for 0D 00 0A 00 that is not bound to even offsets, exactly as the
// files have always been split; bytes after the last CR LF are never read.

#include "core/i18n/LanguageProject.h"

#include "core/i18n/LanguageError.h"
#include "core/i18n/LanguageText.h"

#include <QHash>
#include <QStringView>
#include <QtEndian>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

using namespace Qt::Literals::StringLiterals;

enum class TSection { None, Settings, Options, IgnoreStrings, IgnoreFiles, Languages, Entries };

constexpr char LineEnd[] = {'\x0D', '\x00', '\x0A', '\x00'};

// Decodes one line's bytes into Buffer, whose storage is reused from line to
// line; a U+0000 ends the text early. An odd last byte cannot form a code
// unit and is dropped.
QStringView DecodeLine(const char *Bytes, qsizetype Size, QString &Buffer)
{
    Buffer.resize(Size / 2);
    qFromLittleEndian<char16_t>(Bytes, Buffer.size(), Buffer.data());
    const qsizetype Nul = Buffer.indexOf(QChar(0));
    return QStringView(Buffer).first(Nul >= 0 ? Nul : Buffer.size());
}

TSection SectionOf(QStringView Line, bool *IsHeader)
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
        QString Buffer;
        qsizetype Start = 0;
        for (;;) {
            const qsizetype Match = Data.indexOf(Separator, Start);
            if (Match < 0)
                break;
            if (Match > Start)
                HandleLine(DecodeLine(Data.constData() + Start, Match - Start, Buffer));
            Start = Match + Separator.size();
        }
        Finish();
    }

private:
    // Lines are looked at through views; only what is kept gets copied.
    void HandleLine(QStringView Line)
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
                P.IgnoreFiles.append(Line.mid(5).toString());
            break;
        case TSection::Languages: HandleLanguage(Line); break;
        case TSection::Entries: HandleEntryLine(Line); break;
        }
    }

    void HandleSettings(QStringView Line)
    {
        if (StartsWithKey(Line, "name="_L1))
            P.Name = Line.mid(5).toString();
        else if (StartsWithKey(Line, "primarylanguage="_L1))
            PrimaryCode = Line.mid(16, 2).toString();
    }

    void HandleOptions(QStringView Line)
    {
        if (StartsWithKey(Line, "importdir="_L1))
            P.ImportDir = Line.mid(10).toString();
        else if (StartsWithKey(Line, "importopts="_L1))
            P.ImportOpts = ParseImportOpts(Line.mid(11));
    }

    void HandleLanguage(QStringView Line)
    {
        const QStringView Code = StartsWithKey(Line, "id="_L1) ? Line.mid(3) : QStringView();
        if (Code.size() != 2)
            return;
        if (TLanguage *Language = FindInCatalogue(Code))
            AddProjectLanguage(Language);
    }

    void HandleEntryLine(QStringView Line)
    {
        if (StartsWithKey(Line, "text_id="_L1)) {
            // An entry that never got a translation line is dropped.
            if (Current && Current->Translations.isEmpty())
                P.Entries.Delete(P.Entries.Count() - 1);
            Current = P.Entries.Add(std::make_unique<TEntry>(UnescapeText(Line.mid(8)), &P));
            // Room for one translation per language, grown once rather than per line.
            Current->Translations.reserve(std::max<qsizetype>(ProjectLanguages.size(), 2));
        } else if (StartsWithKey(Line, "occurence="_L1) || StartsWithKey(Line, "occurance="_L1)) {
            if (!Current)
                return;
            // A malformed occurrence is only meta data: the line is skipped.
            TOccurence Occurence;
            if (TOccurence::Parse(Line.mid(10), &Occurence))
                Current->Occurences.append(std::move(Occurence));
        } else if (StartsWithKey(Line, "text_"_L1)) {
            if (!Current)
                return;
            const QStringView Code = Line.mid(5, 2);
            TLanguage *Language = ProjectLanguage(Code);
            if (!Language) {
                Language = FindInCatalogue(Code);
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
        if (!ProjectLanguage(Language->ID))
            ProjectLanguages.append(Language);
    }

    // First project language with this code; codes are compared exactly.
    // A project has a handful of languages, so a walk beats hashing a copy.
    TLanguage *ProjectLanguage(QStringView Code) const
    {
        for (TLanguage *Language : ProjectLanguages) {
            if (Language->ID == Code)
                return Language;
        }
        return nullptr;
    }

    TLanguage *FindInCatalogue(QStringView Code) const
    {
        for (qsizetype i = 0; i < Catalogue.Count(); ++i) {
            if (Catalogue.Items(i)->ID == Code)
                return Catalogue.Items(i);
        }
        return nullptr;
    }

    void Finish()
    {
        if (PrimaryCode.size() == 2)
            P.PrimaryLanguage = ProjectLanguage(PrimaryCode);
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
        QHash<const TLanguage *, qsizetype> Index;
        for (TLanguage *Language : P.Languages) {
            if (!Index.contains(Language)) {
                Index.insert(Language, Distinct.size());
                Distinct.append(Language);
            }
        }
        // One mark per project language, reused for every entry.
        std::vector<char> Present(size_t(Distinct.size()));
        for (const auto &Entry : P.Entries) {
            std::fill(Present.begin(), Present.end(), 0);
            qsizetype Missing = Distinct.size();
            for (const TTranslation &T : std::as_const(Entry->Translations)) {
                const qsizetype i = Index.value(T.Language, -1);
                if (i >= 0 && !Present[size_t(i)]) {
                    Present[size_t(i)] = 1;
                    --Missing;
                }
            }
            if (Missing == 0)
                continue;
            Entry->Translations.reserve(Entry->Translations.size() + Missing);
            for (qsizetype i = 0; i < Distinct.size(); ++i) {
                if (!Present[size_t(i)])
                    Entry->Translations.append(TTranslation(Distinct.at(i), QString()));
            }
        }
    }

    TProject &P;
    const TLanguageList &Catalogue;
    TSection Section = TSection::None;
    TEntry *Current = nullptr;
    QString PrimaryCode;
    // The project languages with distinct codes, first of each code.
    QList<TLanguage *> ProjectLanguages;
};

} // namespace

void TProject::Read(const QByteArray &Stream, const TLanguageList &Catalogue)
{
    TProjectReader(*this, Catalogue).Read(Stream);
}
