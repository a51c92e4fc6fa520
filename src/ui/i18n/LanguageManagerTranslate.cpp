// Window translation of TLanguageManager. It lives with the widgets library
// because the walk over a window's objects belongs to the user interface.

#include "core/i18n/LanguageManager.h"
#include "ui/i18n/WindowTranslator.h"

#include <QObject>

void TLanguageManager::Translate(QObject *C)
{
    if (!C)
        return;
    WindowTranslator::translate(C, [this](const QString &s) { return Get(s); }, IgnoreClassList);
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
