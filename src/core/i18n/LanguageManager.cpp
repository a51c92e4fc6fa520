#include "core/i18n/LanguageManager.h"

#include "core/files/SafeFileRead.h"
#include "core/i18n/LanguageError.h"
#include "core/i18n/LanguageText.h"

#include <QDir>
#include <QLocale>
#include <QLoggingCategory>
#include <QMutexLocker>

Q_LOGGING_CATEGORY(lcLanguage, "corvane.i18n")

using namespace Qt::Literals::StringLiterals;

namespace {
// The embedded project is about 10 KB; a file a thousand times larger is
// not a language project of ours.
constexpr qint64 MaxProjectBytes = 16 * 1024 * 1024;
} // namespace

TLanguageManager::TLanguageManager(const TLanguageList &catalogue, const QString &resourceDir,
                                   UiLanguageSource uiLanguage)
    : m_catalogue(catalogue), m_uiLanguage(std::move(uiLanguage))
{
    try {
        loadResources(resourceDir);
        DetermineLanguage();
    } catch (const std::exception &e) {
        qCWarning(lcLanguage) << "No language projects loaded:" << e.what();
        clearProjects();
    }
}

TLanguageManager::~TLanguageManager() = default;

void TLanguageManager::loadResources(const QString &resourceDir)
{
    const QDir dir(resourceDir);
    const QStringList names = dir.entryList(QDir::Files, QDir::Name);
    for (const QString &name : names) {
        if (!name.startsWith("VOXTRALANG"_L1, Qt::CaseSensitive))
            continue;
        const FileRead file = readRegularFile(dir.filePath(name), MaxProjectBytes);
        if (!file.ok())
            throw LanguageError(u"Cannot open language resource "_s + name);
        FProjects.push_back(std::make_unique<TProject>(file.data, m_catalogue));
    }
}

void TLanguageManager::clearProjects()
{
    FProjects.clear();
}

QString TLanguageManager::platformUiLanguage()
{
    const QStringList languages = QLocale::system().uiLanguages();
    return languages.isEmpty() ? QString() : languages.first();
}

void TLanguageManager::DetermineLanguage()
{
    if (FProjects.empty())
        throw LanguageError(u"No translations could be found"_s);

    for (const auto &project : FProjects) {
        for (const TLanguage *language : project->Languages) {
            if (TLanguage *known = m_catalogue.FindLanguage(language->ID))
                known->Available = true;
        }
    }

    // Priority from low to high: the first language of the first project that
    // has one, English, the user's interface language.
    for (const auto &project : FProjects) {
        if (project->Languages.count() > 0) {
            CurrentLanguage = m_catalogue.FindLanguage(project->Languages.Items(0));
            break;
        }
    }
    for (const auto &project : FProjects) {
        for (const TLanguage *language : project->Languages) {
            if (language->ID == "en"_L1)
                CurrentLanguage = m_catalogue.FindLanguage(language);
        }
    }

    // "de-DE" or "de_DE" -> "de"; only a two-letter code can be in the catalogue.
    const QString uiLanguage = m_uiLanguage ? m_uiLanguage() : platformUiLanguage();
    const QString uiCode = uiLanguage.section(u'-', 0, 0).section(u'_', 0, 0);
    if (uiCode.size() == 2) {
        if (TLanguage *user = m_catalogue.FindLanguage(uiCode.toLower())) {
            m_currentUserLanguage = user;
            if (user->Available)
                CurrentLanguage = user;
        }
    }

    if (!CurrentLanguage)
        throw LanguageError(u"No Language could be determined"_s);
}

QString TLanguageManager::Get(const QString &s) const
{
    const quint32 hash = entryHash(s);
    QMutexLocker lock(&FSync);
    QString result;
    if (CurrentLanguage) {
        for (const auto &project : FProjects) {
            for (const auto &entry : project->Entries) {
                // The hash is only the fast first test: different texts can
                // share one, and must not share a translation.
                if (entry->Hash != hash || entry->Name != s)
                    continue;
                for (const TTranslation &t : std::as_const(entry->Translations)) {
                    if (t.Language->ID == CurrentLanguage->ID) {
                        result = t.Translation;
                        break;
                    }
                }
                break;
            }
        }
    }
    return result.isEmpty() ? s : result;
}

void TLanguageManager::SetLanguage(const QString &language)
{
    if (TLanguage *found = m_catalogue.FindLanguage(language))
        CurrentLanguage = found;
}

void TLanguageManager::LoadFromFile(const QString &languageFile)
{
    clearProjects();
    // Languages of the replaced projects are no longer offered; a stale mark
    // would make DetermineLanguage choose a language no project holds.
    for (TLanguage *language : m_catalogue)
        language->Available = false;
    try {
        const FileRead file = readRegularFile(languageFile, MaxProjectBytes);
        if (!file.ok())
            throw LanguageError(file.error);
        FProjects.push_back(std::make_unique<TProject>(file.data, m_catalogue));
        DetermineLanguage();
    } catch (const std::exception &e) {
        qCWarning(lcLanguage) << "Loading" << languageFile << "failed:" << e.what();
        clearProjects();
        throw LanguageError(u"Error loading languagefile"_s);
    }
}
