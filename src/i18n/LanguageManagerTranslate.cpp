// Window translation of TLanguageManager. It lives with the widgets library
// because the walk over a window's objects belongs to the user interface.

#include "i18n/LanguageManager.h"

#include <QObject>

void TLanguageManager::Translate(QObject *C)
{
    if (!C)
        return;
    // TODO: walk C with WindowTranslator, looking texts up through Get().
}

void TLanguageManager::Translate(QObject *C, const TTranslateProc &PreTranslate,
                                 const TTranslateProc &PostTranslate)
{
    try {
        if (PreTranslate)
            PreTranslate();
        Translate(C);
    } catch (...) {
        if (PostTranslate)
            PostTranslate();
        throw;
    }
    if (PostTranslate)
        PostTranslate();
}
