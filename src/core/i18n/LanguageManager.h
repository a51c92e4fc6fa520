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
    using UiLanguageSource = std::function<QString()>;

    // Loads every file in ResourceDir whose name begins with "VOXTRALANG" and
    // determines the current language. Never throws: on any failure the
    // manager is left without projects.
    explicit TLanguageManager(const TLanguageList &catalogue,
                              const QString &resourceDir = QStringLiteral(":/i18n"),
                              UiLanguageSource uiLanguage = {});
    TLanguageManager(const TLanguageManager &) = delete;
    TLanguageManager &operator=(const TLanguageManager &) = delete;
    ~TLanguageManager();

    // The text in the current language; s itself when there is no translation.
    // Safe to call from any thread.
    QString Get(const QString &s) const;

    // Makes the catalogue language with that code (ignoring case) current;
    // an unknown code changes nothing.
    void SetLanguage(const QString &language);
    // Replaces all projects by the one in LanguageFile. Throws LanguageError
    // ("Error loading languagefile") and then holds no project.
    void LoadFromFile(const QString &languageFile);
    // Chooses the current language from the loaded projects and the user's
    // interface language. Throws LanguageError.
    void DetermineLanguage();

    // Window translation: everything reachable from C (defined with the widgets).
    void Translate(QObject *c);
    // PostTranslate runs in every case, also when PreTranslate or the walk fails.
    void Translate(QObject *c, const TTranslateProc &preTranslate, const TTranslateProc &postTranslate);

    const std::vector<std::unique_ptr<TProject>> &projects() const { return FProjects; }
    TLanguage *CurrentUserLanguage() const { return m_currentUserLanguage; }
    // The platform's answer: the first of QLocale::system().uiLanguages().
    static QString platformUiLanguage();

    TLanguage *CurrentLanguage = nullptr;
    TClassList IgnoreClassList;

private:
    void loadResources(const QString &resourceDir);
    void clearProjects();

    const TLanguageList &m_catalogue;
    UiLanguageSource m_uiLanguage;
    std::vector<std::unique_ptr<TProject>> FProjects;
    TLanguage *m_currentUserLanguage = nullptr;
    mutable QMutex FSync;
};

// The program's manager; exists between initLocalisation() and shutdownLocalisation().
extern std::unique_ptr<TLanguageManager> LanguageManager;

// Creates SystemLanguages, then LanguageManager (loading the embedded project).
// main() calls it before any window exists.
void initLocalisation();
// Destroys LanguageManager, then SystemLanguages.
void shutdownLocalisation();
