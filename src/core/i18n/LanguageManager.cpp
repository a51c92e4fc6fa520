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

TLanguageManager::TLanguageManager(const TLanguageList &Catalogue, const QString &ResourceDir,
                                   TUiLanguageSource UiLanguage)
    : FCatalogue(Catalogue), FUiLanguage(std::move(UiLanguage))
{
    try {
        LoadResources(ResourceDir);
        DetermineLanguage();
    } catch (const std::exception &E) {
        qCWarning(lcLanguage) << "No language projects loaded:" << E.what();
        ClearProjects();
    }
}

TLanguageManager::~TLanguageManager() = default;

void TLanguageManager::LoadResources(const QString &ResourceDir)
{
    const QDir Dir(ResourceDir);
    const QStringList Names = Dir.entryList(QDir::Files, QDir::Name);
    for (const QString &Name : Names) {
        if (!Name.startsWith("VOXTRALANG"_L1, Qt::CaseSensitive))
            continue;
        const FileRead File = readRegularFile(Dir.filePath(Name), MaxProjectBytes);
        if (!File.ok())
            throw TLanguageError(u"Cannot open language resource "_s + Name);
        FProjects.push_back(std::make_unique<TProject>(File.data, FCatalogue));
    }
}

void TLanguageManager::ClearProjects()
{
    FProjects.clear();
}

QString TLanguageManager::PlatformUiLanguage()
{
    const QStringList Languages = QLocale::system().uiLanguages();
    return Languages.isEmpty() ? QString() : Languages.first();
}

void TLanguageManager::DetermineLanguage()
{
    if (FProjects.empty())
        throw TLanguageError(u"No translations could be found"_s);

    for (const auto &Project : FProjects) {
        for (const TLanguage *Language : Project->Languages) {
            if (TLanguage *Known = FCatalogue.FindLanguage(Language->ID))
                Known->Available = true;
        }
    }

    // Priority from low to high: the first language of the first project that
    // has one, English, the user's interface language.
    for (const auto &Project : FProjects) {
        if (Project->Languages.Count() > 0) {
            CurrentLanguage = FCatalogue.FindLanguage(Project->Languages.Items(0));
            break;
        }
    }
    for (const auto &Project : FProjects) {
        for (const TLanguage *Language : Project->Languages) {
            if (Language->ID == "en"_L1)
                CurrentLanguage = FCatalogue.FindLanguage(Language);
        }
    }

    // "de-DE" or "de_DE" -> "de"; only a two-letter code can be in the catalogue.
    const QString UiLanguage = FUiLanguage ? FUiLanguage() : PlatformUiLanguage();
    const QString UiCode = UiLanguage.section(u'-', 0, 0).section(u'_', 0, 0);
    if (UiCode.size() == 2) {
        if (TLanguage *User = FCatalogue.FindLanguage(UiCode.toLower())) {
            FCurrentUserLanguage = User;
            if (User->Available)
                CurrentLanguage = User;
        }
    }

    if (!CurrentLanguage)
        throw TLanguageError(u"No Language could be determined"_s);
}

QString TLanguageManager::Get(const QString &s) const
{
    const quint32 Hash = EntryHash(s);
    QMutexLocker Lock(&FSync);
    QString Result;
    if (CurrentLanguage) {
        for (const auto &Project : FProjects) {
            for (const auto &Entry : Project->Entries) {
                // The hash is only the fast first test: different texts can
                // share one, and must not share a translation.
                if (Entry->Hash != Hash || Entry->Name != s)
                    continue;
                for (const TTranslation &T : std::as_const(Entry->Translations)) {
                    if (T.Language->ID == CurrentLanguage->ID) {
                        Result = T.Translation;
                        break;
                    }
                }
                break;
            }
        }
    }
    return Result.isEmpty() ? s : Result;
}

void TLanguageManager::SetLanguage(const QString &Language)
{
    if (TLanguage *Found = FCatalogue.FindLanguage(Language))
        CurrentLanguage = Found;
}

void TLanguageManager::LoadFromFile(const QString &LanguageFile)
{
    ClearProjects();
    // Languages of the replaced projects are no longer offered; a stale mark
    // would make DetermineLanguage choose a language no project holds.
    for (TLanguage *Language : FCatalogue)
        Language->Available = false;
    try {
        const FileRead File = readRegularFile(LanguageFile, MaxProjectBytes);
        if (!File.ok())
            throw TLanguageError(File.error);
        FProjects.push_back(std::make_unique<TProject>(File.data, FCatalogue));
        DetermineLanguage();
    } catch (const std::exception &E) {
        qCWarning(lcLanguage) << "Loading" << LanguageFile << "failed:" << E.what();
        ClearProjects();
        throw TLanguageError(u"Error loading languagefile"_s);
    }
}
