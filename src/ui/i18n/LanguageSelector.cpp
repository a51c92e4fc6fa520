#include "ui/i18n/LanguageSelector.h"

#include "ui/i18n/LanguageIcons.h"
#include "core/i18n/LanguageManager.h"
#include "core/i18n/QtTranslations.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QWidget>

namespace LanguageSelector {

void fill(QComboBox *cbLang, const TLanguageIcons &icons, const QString &storedCode)
{
    const QSignalBlocker block(cbLang);
    cbLang->clear();
    cbLang->setIconSize(QSize(16, 16));
    if (!SystemLanguages)
        return;
    int selected = -1, determined = -1;
    const TLanguage *startLanguage = LanguageManager ? LanguageManager->CurrentLanguage : nullptr;
    for (TLanguage *lang : *SystemLanguages) {
        if (!lang->Available)
            continue;
        // Only the listed languages' flags are ever decoded.
        cbLang->addItem(icons.CreateIcon(lang->ID), lang->Name, lang->ID);
        if (lang->ID == storedCode)
            selected = cbLang->count() - 1;
        if (lang == startLanguage)
            determined = cbLang->count() - 1;
    }
    cbLang->setCurrentIndex(selected >= 0 ? selected : determined);
}

void apply(QComboBox *cbLang, const QList<QWidget *> &windows)
{
    if (!LanguageManager || !SystemLanguages)
        return;
    if (cbLang->currentIndex() >= 0) {
        if (TLanguage *lang = SystemLanguages->findLanguageExact(cbLang->currentData().toString()))
            LanguageManager->CurrentLanguage = lang;
    }
    // Qt's own texts (file dialogs, standard buttons) follow the language too.
    if (LanguageManager->CurrentLanguage)
        QtTranslations::use(LanguageManager->CurrentLanguage->ID);
    for (QWidget *w : windows)
        LanguageManager->Translate(w);
}

QString currentCode()
{
    if (LanguageManager && LanguageManager->CurrentLanguage)
        return LanguageManager->CurrentLanguage->ID;
    return QStringLiteral("en");
}

} // namespace LanguageSelector
