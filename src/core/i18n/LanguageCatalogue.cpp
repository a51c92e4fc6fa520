#include "core/i18n/LanguageCatalogue.h"

#include <QLocale>

#include <algorithm>

// Qt has no list of "installed" locales; its locale data knows every language
// it supports. The catalogue walks the QLocale::Language values in ascending
// enum order (Abkhazian first; in Qt 6 this is alphabetical by English name,
// so English comes before German), which is fixed for a given Qt version, and
// keeps the languages that have a two-letter ISO 639-1 code.

static QString nameBeforeParenthesis(const QString &name)
{
    const qsizetype paren = name.indexOf(u'(');
    return paren < 0 ? name : name.left(paren);
}

TLanguage::TLanguage(quint32 lcid)
    : LCID(lcid)
{
    const auto lang = static_cast<QLocale::Language>(lcid);
    const QString code = QLocale::languageToCode(lang, QLocale::ISO639Part1);
    ID = code.size() == 2 ? code.toLower() : QString();
    Name = QLocale::languageToString(lang);
}

TLanguage::TLanguage(quint32 lcid, const QString &id, const QString &name)
    : ID(id), Name(name), LCID(lcid)
{
}

TLanguageList::TLanguageList(bool populate)
    : m_ownsItems(populate)
{
    if (populate)
        this->populate();
}

void TLanguageList::populate()
{
    for (int value = QLocale::AnyLanguage + 1; value <= QLocale::LastLanguage; ++value) {
        if (value == QLocale::C)
            continue;
        takeOwned(std::make_unique<TLanguage>(quint32(value)));
    }
    for (TLanguage *language : std::as_const(m_items))
        language->Name = nameBeforeParenthesis(language->Name);
    // For each code the language met last stays, at its own place.
    for (qsizetype i = m_items.size() - 2; i >= 0; --i) {
        const QString &id = m_items.at(i)->ID;
        const bool later = std::any_of(m_items.cbegin() + i + 1, m_items.cend(),
                                       [&id](const TLanguage *l) { return l->ID == id; });
        if (later)
            deleteAt(i);
    }
    for (qsizetype i = m_items.size() - 1; i >= 0; --i) {
        if (m_items.at(i)->ID.isEmpty())
            deleteAt(i);
    }
}

void TLanguageList::takeOwned(std::unique_ptr<TLanguage> language)
{
    m_items.append(language.get());
    m_owned.push_back(std::move(language));
}

void TLanguageList::deleteAt(qsizetype index)
{
    TLanguage *language = m_items.takeAt(index);
    std::erase_if(m_owned, [language](const auto &owned) { return owned.get() == language; });
}

TLanguage *TLanguageList::FindLanguage(const QString &language) const
{
    for (TLanguage *l : m_items) {
        if (l->ID.compare(language, Qt::CaseInsensitive) == 0)
            return l;
    }
    return nullptr;
}

TLanguage *TLanguageList::FindLanguage(const TLanguage *language) const
{
    return language ? findLanguageExact(language->ID) : nullptr;
}

TLanguage *TLanguageList::findLanguageExact(const QString &code) const
{
    for (TLanguage *l : m_items) {
        if (l->ID == code)
            return l;
    }
    return nullptr;
}

bool TLanguageList::contains(const TLanguage *language) const
{
    return indexOf(language) >= 0;
}

qsizetype TLanguageList::indexOf(const TLanguage *language) const
{
    return m_items.indexOf(const_cast<TLanguage *>(language));
}

void TLanguageList::add(TLanguage *language)
{
    Q_ASSERT(!m_ownsItems);
    m_items.append(language);
}

void TLanguageList::remove(const TLanguage *language)
{
    Q_ASSERT(!m_ownsItems);
    m_items.removeOne(const_cast<TLanguage *>(language));
}
