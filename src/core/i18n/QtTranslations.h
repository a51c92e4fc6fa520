#pragma once
#include <QString>

// Qt's own texts (file dialog labels, standard buttons, context menus) in the
// program's language, from the translations Qt installs beside itself
// (Debian: qt6-translations-l10n).
namespace QtTranslations {

// Installs Qt's translation for the language `code` ("de") on the
// application, replacing the one installed before. A language Qt has no
// translation for (English, or the package missing) leaves Qt's English
// texts; an empty code removes the installed one. Returns whether a
// translation is installed now.
bool use(const QString &code);

// The folder searched: Qt's own translations folder.
QString folder();

} // namespace QtTranslations
