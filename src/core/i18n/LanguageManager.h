#pragma once
#include "core/i18n/LanguageCatalogue.h"
#include "core/i18n/LanguageProject.h"

#include <QList>
#include <QMutex>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QObject;
struct QMetaObject;

// Classes whose objects (and objects of derived classes) the window walk skips.
using TClassList = QList<const QMetaObject *>;
using TTranslateProc = std::function<void()>;

// Holds the language projects the program carries, chooses the current
// language, answers text look-ups and translates windows.
class TLanguageManager
{
public:
    // Returns the user's interface language as a code or locale name ("de", "de-DE", "de_AT").
    using TUiLanguageSource = std::function<QString()>;

    // Loads every file in ResourceDir whose name begins with "VOXTRALANG" and
    // determines the current language. Never throws: on any failure the
    // manager is left without projects.
    explicit TLanguageManager(const TLanguageList &Catalogue,
                              const QString &ResourceDir = QStringLiteral(":/i18n"),
                              TUiLanguageSource UiLanguage = {});
    TLanguageManager(const TLanguageManager &) = delete;
    TLanguageManager &operator=(const TLanguageManager &) = delete;
    ~TLanguageManager();

    // The text in the current language; s itself when there is no translation.
    // Safe to call from any thread.
    QString Get(const QString &s) const;

    // Makes the catalogue language with that code (ignoring case) current;
    // an unknown code changes nothing.
    void SetLanguage(const QString &Language);
    // Replaces all projects by the one in LanguageFile. Throws TLanguageError
    // ("Error loading languagefile") and then holds no project.
    void LoadFromFile(const QString &LanguageFile);
    // Chooses the current language from the loaded projects and the user's
    // interface language. Throws TLanguageError.
    void DetermineLanguage();

    // Window translation: everything reachable from C (defined with the widgets).
    void Translate(QObject *C);
    // PostTranslate runs in every case, also when PreTranslate or the walk fails.
    void Translate(QObject *C, const TTranslateProc &PreTranslate, const TTranslateProc &PostTranslate);

    const std::vector<std::unique_ptr<TProject>> &Projects() const { return FProjects; }
    TLanguage *CurrentUserLanguage() const { return FCurrentUserLanguage; }
    // The platform's answer: the first of QLocale::system().uiLanguages().
    static QString PlatformUiLanguage();

    TLanguage *CurrentLanguage = nullptr;
    TClassList IgnoreClassList;

private:
    void LoadResources(const QString &ResourceDir);
    void ClearProjects();

    const TLanguageList &FCatalogue;
    TUiLanguageSource FUiLanguage;
    std::vector<std::unique_ptr<TProject>> FProjects;
    TLanguage *FCurrentUserLanguage = nullptr;
    mutable QMutex FSync;
};

// The program's manager; exists between initLocalisation() and shutdownLocalisation().
extern std::unique_ptr<TLanguageManager> LanguageManager;

// Creates SystemLanguages, then LanguageManager (loading the embedded project).
// main() calls it before any window exists.
void initLocalisation();
// Destroys LanguageManager, then SystemLanguages.
void shutdownLocalisation();
