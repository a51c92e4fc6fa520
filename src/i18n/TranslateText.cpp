#include "i18n/TranslateText.h"

// Until the language manager is wired in, every text shows as written.
QString TranslateText(const QString &Text)
{
    return Text;
}
