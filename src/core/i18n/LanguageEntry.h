#pragma once
#include "core/i18n/LanguageCatalogue.h"
#include "core/i18n/LanguageOccurence.h"

#include <QList>
#include <QString>
#include <memory>
#include <vector>

class TProject;

// One translation of an entry. An empty text means "not translated": the
// entry's name is shown instead.
struct TTranslation
{
    TTranslation(TLanguage *language, const QString &translation)
        : Language(language), Translation(translation)
    {
    }
    TLanguage *Language = nullptr; // a catalogue language, not owned
    QString Translation;
};

using TTranslationList = QList<TTranslation>;

// One translatable text. Its name is the untranslated text itself.
class TEntry
{
public:
    TEntry(const QString &name, TProject *project);
    // Copies name, occurrences and translations.
    TEntry(const TEntry &fromEntry, TProject *project);
    // Copies name and occurrences, then one empty translation per language.
    TEntry(const TEntry &fromEntry, const TLanguageList &languages, TProject *project);
    // Name plus one occurrence parsed from OccurenceLine (throws when it is malformed).
    TEntry(const QString &name, const QString &occurenceLine, TProject *project);
    TEntry(const TEntry &) = delete;
    TEntry &operator=(const TEntry &) = delete;

    bool IsFullyTranslated() const;
    void SetOccurences(const TEntry &fromEntry);
    void UpdateFrom(const TEntry &entry);

    TProject *FProject = nullptr; // back reference, not owned
    TOccurenceList Occurences;
    quint32 Hash = 0;
    QString Name;
    TTranslationList Translations;
};

// A project's entries in file order; owns them.
class TEntryList
{
public:
    qsizetype count() const { return qsizetype(m_items.size()); }
    TEntry *Items(qsizetype index) const { return m_items.at(size_t(index)).get(); }
    TEntry *add(std::unique_ptr<TEntry> entry);
    void removeAt(qsizetype index);
    void Clear() { m_items.clear(); }

    auto begin() const { return m_items.cbegin(); }
    auto end() const { return m_items.cend(); }

private:
    std::vector<std::unique_ptr<TEntry>> m_items;
};
