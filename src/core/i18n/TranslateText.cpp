#include "core/i18n/TranslateText.h"

#include "core/i18n/LanguageManager.h"

QString TranslateText(const QString &text)
{
    if (!LanguageManager)
        return text;
    return LanguageManager->Get(text);
}
