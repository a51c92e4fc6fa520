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

enum class ProjectSection { None, Settings, Options, IgnoreStrings, IgnoreFiles, Languages, Entries };

constexpr char LineEnd[] = {'\x0D', '\x00', '\x0A', '\x00'};

// Decodes one line's bytes into Buffer, whose storage is reused from line to
// line; a U+0000 ends the text early. An odd last byte cannot form a code
// unit and is dropped.
QStringView decodeLine(const char *bytes, qsizetype size, QString &buffer)
{
    buffer.resize(size / 2);
    qFromLittleEndian<char16_t>(bytes, buffer.size(), buffer.data());
    const qsizetype nul = buffer.indexOf(QChar(0));
    return QStringView(buffer).first(nul >= 0 ? nul : buffer.size());
}

ProjectSection sectionOf(QStringView line, bool *isHeader)
{
    static const std::pair<QLatin1StringView, ProjectSection> headers[] = {
        {"[settings]"_L1, ProjectSection::Settings},
        {"[options]"_L1, ProjectSection::Options},
        {"[ignorestrings]"_L1, ProjectSection::IgnoreStrings},
        {"[ignorefiles]"_L1, ProjectSection::IgnoreFiles},
        {"[languages]"_L1, ProjectSection::Languages},
        {"[entries]"_L1, ProjectSection::Entries},
    };
    for (const auto &[Header, Section] : headers) {
        if (equalsKey(line, Header)) {
            *isHeader = true;
            return Section;
        }
    }
    *isHeader = false;
    return ProjectSection::None;
}

// Only the one character after the key is read, as a decimal digit (else 0):
// files written by earlier versions rely on this, so values from 10 up do not
// come back unchanged.
qint32 parseImportOpts(QStringView value)
{
    if (value.isEmpty() || value.front() < u'0' || value.front() > u'9')
        return 0;
    return value.front().unicode() - u'0';
}

class ProjectReader
{
public:
    ProjectReader(TProject &project, const TLanguageList &catalogue)
        : m_p(project), m_catalogue(catalogue)
    {
    }

    void read(const QByteArray &data)
    {
        const QByteArrayView separator(LineEnd, sizeof(LineEnd));
        QString buffer;
        qsizetype start = 0;
        for (;;) {
            const qsizetype match = data.indexOf(separator, start);
            if (match < 0)
                break;
            if (match > start)
                handleLine(decodeLine(data.constData() + start, match - start, buffer));
            start = match + separator.size();
        }
        finish();
    }

private:
    // Lines are looked at through views; only what is kept gets copied.
    void handleLine(QStringView line)
    {
        bool isHeader = false;
        const ProjectSection header = sectionOf(line, &isHeader);
        if (isHeader) {
            m_section = header;
            return;
        }
        switch (m_section) {
        case ProjectSection::None: break;
        case ProjectSection::Settings: handleSettings(line); break;
        case ProjectSection::Options: handleOptions(line); break;
        case ProjectSection::IgnoreStrings:
            if (startsWithKey(line, "name="_L1) && !isBlankText(line.mid(5)))
                m_p.IgnoreStrings.append(unescapeText(line.mid(5)));
            break;
        case ProjectSection::IgnoreFiles:
            if (startsWithKey(line, "name="_L1) && !isBlankText(line.mid(5)))
                m_p.IgnoreFiles.append(line.mid(5).toString());
            break;
        case ProjectSection::Languages: handleLanguage(line); break;
        case ProjectSection::Entries: handleEntryLine(line); break;
        }
    }

    void handleSettings(QStringView line)
    {
        if (startsWithKey(line, "name="_L1))
            m_p.Name = line.mid(5).toString();
        else if (startsWithKey(line, "primarylanguage="_L1))
            m_primaryCode = line.mid(16, 2).toString();
    }

    void handleOptions(QStringView line)
    {
        if (startsWithKey(line, "importdir="_L1))
            m_p.ImportDir = line.mid(10).toString();
        else if (startsWithKey(line, "importopts="_L1))
            m_p.ImportOpts = parseImportOpts(line.mid(11));
    }

    void handleLanguage(QStringView line)
    {
        const QStringView code = startsWithKey(line, "id="_L1) ? line.mid(3) : QStringView();
        if (code.size() != 2)
            return;
        if (TLanguage *language = findInCatalogue(code))
            addProjectLanguage(language);
    }

    void handleEntryLine(QStringView line)
    {
        if (startsWithKey(line, "text_id="_L1)) {
            // An entry that never got a translation line is dropped.
            if (m_current && m_current->Translations.isEmpty())
                m_p.Entries.removeAt(m_p.Entries.count() - 1);
            m_current = m_p.Entries.add(std::make_unique<TEntry>(unescapeText(line.mid(8)), &m_p));
            // Room for one translation per language, grown once rather than per line.
            m_current->Translations.reserve(std::max<qsizetype>(m_projectLanguages.size(), 2));
        } else if (startsWithKey(line, "occurence="_L1) || startsWithKey(line, "occurance="_L1)) {
            if (!m_current)
                return;
            // A malformed occurrence is only meta data: the line is skipped.
            TOccurence occurence;
            if (TOccurence::parse(line.mid(10), &occurence))
                m_current->Occurences.append(std::move(occurence));
        } else if (startsWithKey(line, "text_"_L1)) {
            if (!m_current)
                return;
            const QStringView code = line.mid(5, 2);
            TLanguage *language = projectLanguage(code);
            if (!language) {
                language = findInCatalogue(code);
                if (!language)
                    return;
                addProjectLanguage(language);
            }
            // Position 8 is normally "=", but it is not checked.
            m_current->Translations.append(TTranslation(language, unescapeText(line.mid(8))));
        }
    }

    void addProjectLanguage(TLanguage *language)
    {
        m_p.Languages.add(language);
        if (!projectLanguage(language->ID))
            m_projectLanguages.append(language);
    }

    // First project language with this code; codes are compared exactly.
    // A project has a handful of languages, so a walk beats hashing a copy.
    TLanguage *projectLanguage(QStringView code) const
    {
        for (TLanguage *language : m_projectLanguages) {
            if (language->ID == code)
                return language;
        }
        return nullptr;
    }

    TLanguage *findInCatalogue(QStringView code) const
    {
        for (qsizetype i = 0; i < m_catalogue.count(); ++i) {
            if (m_catalogue.Items(i)->ID == code)
                return m_catalogue.Items(i);
        }
        return nullptr;
    }

    void finish()
    {
        if (m_primaryCode.size() == 2)
            m_p.PrimaryLanguage = projectLanguage(m_primaryCode);
        if (!m_p.PrimaryLanguage)
            throw LanguageError(u"No primary language could be found"_s);
        completeTranslations();
    }

    // Every entry gets an (empty) translation for every project language it
    // lacks, in project-language order. A language listed twice is handled
    // once, which gives the same result without a quadratic walk.
    void completeTranslations()
    {
        QList<TLanguage *> distinct;
        QHash<const TLanguage *, qsizetype> index;
        for (TLanguage *language : m_p.Languages) {
            if (!index.contains(language)) {
                index.insert(language, distinct.size());
                distinct.append(language);
            }
        }
        // One mark per project language, reused for every entry.
        std::vector<char> present(size_t(distinct.size()));
        for (const auto &entry : m_p.Entries) {
            std::fill(present.begin(), present.end(), 0);
            qsizetype missing = distinct.size();
            for (const TTranslation &t : std::as_const(entry->Translations)) {
                const qsizetype i = index.value(t.Language, -1);
                if (i >= 0 && !present[size_t(i)]) {
                    present[size_t(i)] = 1;
                    --missing;
                }
            }
            if (missing == 0)
                continue;
            entry->Translations.reserve(entry->Translations.size() + missing);
            for (qsizetype i = 0; i < distinct.size(); ++i) {
                if (!present[size_t(i)])
                    entry->Translations.append(TTranslation(distinct.at(i), QString()));
            }
        }
    }

    TProject &m_p;
    const TLanguageList &m_catalogue;
    ProjectSection m_section = ProjectSection::None;
    TEntry *m_current = nullptr;
    QString m_primaryCode;
    // The project languages with distinct codes, first of each code.
    QList<TLanguage *> m_projectLanguages;
};

} // namespace

void TProject::read(const QByteArray &stream, const TLanguageList &catalogue)
{
    ProjectReader(*this, catalogue).read(stream);
}
