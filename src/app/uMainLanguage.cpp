// The main window's side of the language selector.

#include "app/uMain.h"

// The selector stays empty until the flag list and the language manager are
// bound to it; until then the stored language is kept as it was read.
void TMain::FillLanguageSelector()
{
}

QString TMain::CurrentLanguageCode() const
{
    return StoredLanguage;
}
