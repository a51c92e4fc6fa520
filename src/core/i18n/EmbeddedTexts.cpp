#include "core/i18n/EmbeddedTexts.h"

// Must stay identical to the identifier in resources/i18n/language_project.txt.
const QString AboutInfoText =
    QStringLiteral(u"Configuration tool for<br><b>CORVANE</b><br><br>\u00A9 Corvane Lighting");
