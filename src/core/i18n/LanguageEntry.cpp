#include "core/i18n/LanguageEntry.h"

#include "core/i18n/LanguageProject.h"
#include "core/i18n/LanguageText.h"

TEntry::TEntry(const QString &name, TProject *project)
    : FProject(project), Hash(entryHash(name)), Name(name)
{
}

TEntry::TEntry(const TEntry &fromEntry, TProject *project)
    : TEntry(fromEntry.Name, project)
{
    SetOccurences(fromEntry);
    Translations = fromEntry.Translations;
}

TEntry::TEntry(const TEntry &fromEntry, const TLanguageList &languages, TProject *project)
    : TEntry(fromEntry.Name, project)
{
    SetOccurences(fromEntry);
    for (TLanguage *language : languages)
        Translations.append(TTranslation(language, QString()));
}

TEntry::TEntry(const QString &name, const QString &occurenceLine, TProject *project)
    : TEntry(name, project)
{
    Occurences.append(TOccurence::Create(occurenceLine));
}

bool TEntry::IsFullyTranslated() const
{
    if (!FProject)
        return false;
    for (const TTranslation &t : Translations) {
        if (t.Language == FProject->PrimaryLanguage)
            continue;
        if (isBlankText(t.Translation) || t.Translation == Name)
            return false;
    }
    return true;
}

void TEntry::SetOccurences(const TEntry &fromEntry)
{
    if (&fromEntry == this)
        return;
    Occurences.clear();
    for (const TOccurence &o : fromEntry.Occurences)
        Occurences.append(o.Clone());
}

void TEntry::UpdateFrom(const TEntry &entry)
{
    Name = entry.Name;
    // The hash must follow the name, or look-ups of the new text would miss
    // the entry while the old text would still find it.
    Hash = entryHash(Name);
    SetOccurences(entry);
}

TEntry *TEntryList::add(std::unique_ptr<TEntry> entry)
{
    m_items.push_back(std::move(entry));
    return m_items.back().get();
}

void TEntryList::removeAt(qsizetype index)
{
    m_items.erase(m_items.begin() + index);
}
