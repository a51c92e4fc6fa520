#include "core/i18n/LanguageCatalogue.h"

#include <QLocale>

#include <algorithm>

// Qt has no list of "installed" locales; its locale data knows every language
// it supports. The catalogue walks the QLocale::Language values in ascending
// enum order (Abkhazian first; in Qt 6 this is alphabetical by English name,
// so English comes before German), which is fixed for a given Qt version, and
// keeps the languages that have a two-letter ISO 639-1 code.

static QString NameBeforeParenthesis(const QString &Name)
{
    const qsizetype Paren = Name.indexOf(u'(');
    return Paren < 0 ? Name : Name.left(Paren);
}

TLanguage::TLanguage(quint32 LCID)
    : LCID(LCID)
{
    const auto Lang = static_cast<QLocale::Language>(LCID);
    const QString Code = QLocale::languageToCode(Lang, QLocale::ISO639Part1);
    ID = Code.size() == 2 ? Code.toLower() : QString();
    Name = QLocale::languageToString(Lang);
}

TLanguage::TLanguage(quint32 LCID, const QString &ID, const QString &Name)
    : ID(ID), Name(Name), LCID(LCID)
{
}

TLanguageList::TLanguageList(bool Populate)
    : FOwnsItems(Populate)
{
    if (Populate)
        this->Populate();
}

void TLanguageList::Populate()
{
    for (int Value = QLocale::AnyLanguage + 1; Value <= QLocale::LastLanguage; ++Value) {
        if (Value == QLocale::C)
            continue;
        TakeOwned(std::make_unique<TLanguage>(quint32(Value)));
    }
    for (TLanguage *Language : std::as_const(FItems))
        Language->Name = NameBeforeParenthesis(Language->Name);
    // For each code the language met last stays, at its own place.
    for (qsizetype i = FItems.size() - 2; i >= 0; --i) {
        const QString &ID = FItems.at(i)->ID;
        const bool Later = std::any_of(FItems.cbegin() + i + 1, FItems.cend(),
                                       [&ID](const TLanguage *L) { return L->ID == ID; });
        if (Later)
            DeleteAt(i);
    }
    for (qsizetype i = FItems.size() - 1; i >= 0; --i) {
        if (FItems.at(i)->ID.isEmpty())
            DeleteAt(i);
    }
}

void TLanguageList::TakeOwned(std::unique_ptr<TLanguage> Language)
{
    FItems.append(Language.get());
    FOwned.push_back(std::move(Language));
}

void TLanguageList::DeleteAt(qsizetype Index)
{
    TLanguage *Language = FItems.takeAt(Index);
    std::erase_if(FOwned, [Language](const auto &Owned) { return Owned.get() == Language; });
}

TLanguage *TLanguageList::FindLanguage(const QString &Language) const
{
    for (TLanguage *L : FItems) {
        if (L->ID.compare(Language, Qt::CaseInsensitive) == 0)
            return L;
    }
    return nullptr;
}

TLanguage *TLanguageList::FindLanguage(const TLanguage *Language) const
{
    return Language ? FindLanguageExact(Language->ID) : nullptr;
}

TLanguage *TLanguageList::FindLanguageExact(const QString &Code) const
{
    for (TLanguage *L : FItems) {
        if (L->ID == Code)
            return L;
    }
    return nullptr;
}

bool TLanguageList::Contains(const TLanguage *Language) const
{
    return IndexOf(Language) >= 0;
}

qsizetype TLanguageList::IndexOf(const TLanguage *Language) const
{
    return FItems.indexOf(const_cast<TLanguage *>(Language));
}

void TLanguageList::Add(TLanguage *Language)
{
    Q_ASSERT(!FOwnsItems);
    FItems.append(Language);
}

void TLanguageList::Remove(const TLanguage *Language)
{
    Q_ASSERT(!FOwnsItems);
    FItems.removeOne(const_cast<TLanguage *>(Language));
}
