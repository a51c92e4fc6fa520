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
    TTranslation(TLanguage *Language, const QString &Translation)
        : Language(Language), Translation(Translation)
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
    TEntry(const QString &Name, TProject *Project);
    // Copies name, occurrences and translations.
    TEntry(const TEntry &FromEntry, TProject *Project);
    // Copies name and occurrences, then one empty translation per language.
    TEntry(const TEntry &FromEntry, const TLanguageList &Languages, TProject *Project);
    // Name plus one occurrence parsed from OccurenceLine (throws when it is malformed).
    TEntry(const QString &Name, const QString &OccurenceLine, TProject *Project);
    TEntry(const TEntry &) = delete;
    TEntry &operator=(const TEntry &) = delete;

    bool IsFullyTranslated() const;
    void SetOccurences(const TEntry &FromEntry);
    void UpdateFrom(const TEntry &Entry);

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
    qsizetype Count() const { return qsizetype(FItems.size()); }
    TEntry *Items(qsizetype Index) const { return FItems.at(size_t(Index)).get(); }
    TEntry *Add(std::unique_ptr<TEntry> Entry);
    void Delete(qsizetype Index);
    void Clear() { FItems.clear(); }

    auto begin() const { return FItems.cbegin(); }
    auto end() const { return FItems.cend(); }

private:
    std::vector<std::unique_ptr<TEntry>> FItems;
};
