// Window translation of TLanguageManager. It lives with the widgets library
// because the walk over a window's objects belongs to the user interface.

#include "core/i18n/LanguageManager.h"
#include "ui/i18n/WindowTranslator.h"

#include <QObject>

void TLanguageManager::Translate(QObject *c)
{
    if (!c)
        return;
    WindowTranslator::translate(c, [this](const QString &s) { return Get(s); }, IgnoreClassList);
}

void TLanguageManager::Translate(QObject *c, const TTranslateProc &preTranslate,
                                 const TTranslateProc &postTranslate)
{
    try {
        if (preTranslate)
            preTranslate();
        Translate(c);
    } catch (...) {
        if (postTranslate)
            postTranslate();
        throw;
    }
    if (postTranslate)
        postTranslate();
}
