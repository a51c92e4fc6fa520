// The main window's side of the language selector.

#include "ui/main/uMain.h"

#include "core/i18n/LanguageCatalogue.h"
#include "ui/i18n/LanguageIcons.h"
#include "core/i18n/LanguageManager.h"
#include "ui/i18n/LanguageSelector.h"
#include "ui/dialogs/uAbout.h"
#include "ui/dialogs/uMessageBox.h"

#include "ui/editor/ConfigEditorForm.h"

#include <QComboBox>
#include <QToolButton>

void TMain::FillLanguageSelector()
{
    QStringList ids;
    if (SystemLanguages) {
        for (const TLanguage *l : *SystemLanguages)
            ids << l->ID;
    }
    LanguageIcons = std::make_unique<TLanguageIcons>(ids);
    LanguageSelector::Fill(cbLang, *LanguageIcons, StoredLanguage);
    // Translate before the user sees the windows.
    cbLangChange();
}

void TMain::cbLangChange()
{
    LanguageSelector::Apply(cbLang, {this, m_about, m_msgBox});
    // Names for assistive technology follow the translated captions.
    m_editorForm->refreshAccessibleNames();
    for (QWidget *w : std::initializer_list<QWidget *>{ToolButton1, butLoadProfile, butSaveProfile, cbLang, ToolButton7})
        w->setAccessibleName(w->toolTip());
    // Sized for the new texts before anything else uses the window's size.
    FitWindowSize();
}

QString TMain::CurrentLanguageCode() const
{
    // Without the language manager nothing could change the stored choice.
    if (!LanguageManager || !LanguageManager->CurrentLanguage)
        return StoredLanguage;
    return LanguageManager->CurrentLanguage->ID;
}
