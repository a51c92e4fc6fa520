// The program-wide localisation objects and their start and end.

#include "core/i18n/LanguageCatalogue.h"
#include "core/i18n/LanguageManager.h"
#include "core/i18n/QtTranslations.h"

#include <QtGlobal>

std::unique_ptr<TLanguageList> SystemLanguages;
std::unique_ptr<TLanguageManager> LanguageManager;

void initLocalisation()
{
    // The embedded project is compiled into a static library; without this
    // its resource would not be registered.
    Q_INIT_RESOURCE(i18n);
    if (!SystemLanguages)
        SystemLanguages = std::make_unique<TLanguageList>(true);
    if (!LanguageManager)
        LanguageManager = std::make_unique<TLanguageManager>(*SystemLanguages);
}

void shutdownLocalisation()
{
    QtTranslations::use(QString());
    // The manager's languages point into the catalogue: manager first.
    LanguageManager.reset();
    SystemLanguages.reset();
}
