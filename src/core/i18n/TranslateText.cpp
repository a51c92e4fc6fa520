#include "core/i18n/TranslateText.h"

#include "core/i18n/LanguageManager.h"

QString TranslateText(const QString &Text)
{
    if (!LanguageManager)
        return Text;
    return LanguageManager->Get(Text);
}
