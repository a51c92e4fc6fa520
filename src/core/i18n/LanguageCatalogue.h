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
    explicit TLanguage(quint32 LCID);
    TLanguage(quint32 LCID, const QString &ID, const QString &Name);

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
    explicit TLanguageList(bool Populate = false);
    TLanguageList(const TLanguageList &) = delete;
    TLanguageList &operator=(const TLanguageList &) = delete;

    // First language whose ID equals Language ignoring case.
    TLanguage *FindLanguage(const QString &Language) const;
    // First language whose ID equals Language->ID exactly.
    TLanguage *FindLanguage(const TLanguage *Language) const;
    // First language whose ID equals Code exactly (the file format's rule).
    TLanguage *FindLanguageExact(const QString &Code) const;

    TLanguage *Items(qsizetype Index) const { return FItems.at(Index); }
    qsizetype Count() const { return FItems.size(); }
    bool Contains(const TLanguage *Language) const;
    qsizetype IndexOf(const TLanguage *Language) const;
    const QList<TLanguage *> &List() const { return FItems; }
    auto begin() const { return FItems.cbegin(); }
    auto end() const { return FItems.cend(); }

    // Only for lists that refer to languages owned elsewhere.
    void Add(TLanguage *Language);
    // Removes the first occurrence of Language.
    void Remove(const TLanguage *Language);

private:
    void Populate();
    void TakeOwned(std::unique_ptr<TLanguage> Language);
    void DeleteAt(qsizetype Index);

    bool FOwnsItems = false;
    QList<TLanguage *> FItems;
    std::vector<std::unique_ptr<TLanguage>> FOwned;
};

// The program's catalogue; exists between initLocalisation() and
// shutdownLocalisation() (see LanguageManager.h).
extern std::unique_ptr<TLanguageList> SystemLanguages;
