#include "core/i18n/LanguageEntry.h"

#include "core/i18n/LanguageProject.h"
#include "core/i18n/LanguageText.h"

TEntry::TEntry(const QString &Name, TProject *Project)
    : FProject(Project), Hash(EntryHash(Name)), Name(Name)
{
}

TEntry::TEntry(const TEntry &FromEntry, TProject *Project)
    : TEntry(FromEntry.Name, Project)
{
    SetOccurences(FromEntry);
    Translations = FromEntry.Translations;
}

TEntry::TEntry(const TEntry &FromEntry, const TLanguageList &Languages, TProject *Project)
    : TEntry(FromEntry.Name, Project)
{
    SetOccurences(FromEntry);
    for (TLanguage *Language : Languages)
        Translations.append(TTranslation(Language, QString()));
}

TEntry::TEntry(const QString &Name, const QString &OccurenceLine, TProject *Project)
    : TEntry(Name, Project)
{
    Occurences.append(TOccurence::Create(OccurenceLine));
}

bool TEntry::IsFullyTranslated() const
{
    if (!FProject)
        return false;
    for (const TTranslation &T : Translations) {
        if (T.Language == FProject->PrimaryLanguage)
            continue;
        if (IsBlankText(T.Translation) || T.Translation == Name)
            return false;
    }
    return true;
}

void TEntry::SetOccurences(const TEntry &FromEntry)
{
    if (&FromEntry == this)
        return;
    Occurences.clear();
    for (const TOccurence &O : FromEntry.Occurences)
        Occurences.append(O.Clone());
}

void TEntry::UpdateFrom(const TEntry &Entry)
{
    Name = Entry.Name;
    // The hash must follow the name, or look-ups of the new text would miss
    // the entry while the old text would still find it.
    Hash = EntryHash(Name);
    SetOccurences(Entry);
}

TEntry *TEntryList::Add(std::unique_ptr<TEntry> Entry)
{
    FItems.push_back(std::move(Entry));
    return FItems.back().get();
}

void TEntryList::Delete(qsizetype Index)
{
    FItems.erase(FItems.begin() + Index);
}
