#pragma once
#include <QList>
#include <QString>

class QComboBox;
class QWidget;
class TLanguageIcons;

// The language selector of the tool bar: the available languages with their
// flags, and switching the whole user interface when one is chosen.
namespace LanguageSelector {

// Fills `cbLang` with every available language of the catalogue, in catalogue
// order, each with its flag (when there is one) and its English name. The
// item whose code equals `storedCode` exactly is selected; when none does,
// the language determined at start-up is selected instead, so the selector
// and the current language always agree. No change handler fires.
void fill(QComboBox *cbLang, const TLanguageIcons &icons, const QString &storedCode);

// Makes the selected language current, switches Qt's own texts to it and
// translates the given windows, in order.
void apply(QComboBox *cbLang, const QList<QWidget *> &windows);

// The code of the current language ("en" when none is current).
QString currentCode();

} // namespace LanguageSelector
