#pragma once
#include <QString>

// Returns Text in the current language; unchanged while no language manager
// exists or when the text has no translation. The untranslated English text
// is the key.
QString TranslateText(const QString &text);
