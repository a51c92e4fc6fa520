#pragma once
#include <QList>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <vector>

// One language known to the program. Languages are compared by identity:
// projects, translations and the manager all point into the one catalogue.
class TLanguage
{
public:
    // Fills ID and Name from Qt's locale data; LCID is a QLocale::Language value.
    explicit TLanguage(quint32 lcid);
    TLanguage(quint32 lcid, const QString &id, const QString &name);

    QString ID;          // lower-case ISO 639-1 code, e.g. "de"
    QString Name;        // English name, cut before its first "("
    quint32 LCID = 0;
    bool Available = false; // set by the manager when a loaded project has it
};

// An ordered list of languages. A populated list is the system catalogue and
// owns its languages; any other list only refers to catalogue languages.
class TLanguageList
{
public:
    explicit TLanguageList(bool populate = false);
    TLanguageList(const TLanguageList &) = delete;
    TLanguageList &operator=(const TLanguageList &) = delete;

    // First language whose ID equals Language ignoring case.
    TLanguage *FindLanguage(const QString &language) const;
    // First language whose ID equals Language->ID exactly.
    TLanguage *FindLanguage(const TLanguage *language) const;
    // First language whose ID equals Code exactly (the file format's rule).
    TLanguage *findLanguageExact(const QString &code) const;

    TLanguage *Items(qsizetype index) const { return m_items.at(index); }
    qsizetype count() const { return m_items.size(); }
    bool contains(const TLanguage *language) const;
    qsizetype indexOf(const TLanguage *language) const;
    const QList<TLanguage *> &list() const { return m_items; }
    auto begin() const { return m_items.cbegin(); }
    auto end() const { return m_items.cend(); }

    // Only for lists that refer to languages owned elsewhere.
    void add(TLanguage *language);
    // Removes the first occurrence of Language.
    void remove(const TLanguage *language);

private:
    void populate();
    void takeOwned(std::unique_ptr<TLanguage> language);
    void deleteAt(qsizetype index);

    bool m_ownsItems = false;
    QList<TLanguage *> m_items;
    std::vector<std::unique_ptr<TLanguage>> m_owned;
};

// The program's catalogue; exists between initLocalisation() and
// shutdownLocalisation() (see LanguageManager.h).
extern std::unique_ptr<TLanguageList> SystemLanguages;
