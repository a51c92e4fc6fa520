#include "ui/i18n/TranslationMarker.h"

TTranslationMarker::TTranslationMarker(QObject *AOwner, const QObject *Obj)
    : QObject(AOwner), FObj(Obj)
{
}

QString TTranslationMarker::FindText(const QString &Prop, const QString &TranslatedText) const
{
    for (const TTextMarker &m : FProps) {
        if (m.Prop == Prop && m.TranslatedText == TranslatedText)
            return m.OriginalText;
    }
    return {};
}

void TTranslationMarker::AddText(const QString &Prop, const QString &OriginalText,
                                 const QString &TranslatedText)
{
    // Every language switch would append the same record again; since the
    // first matching record always wins, an exact duplicate can never be
    // found and would only make the list grow with each switch.
    for (const TTextMarker &m : FProps) {
        if (m.Prop == Prop && m.OriginalText == OriginalText && m.TranslatedText == TranslatedText)
            return;
    }
    FProps.append({Prop, OriginalText, TranslatedText});
}

TTranslationMarker *TTranslationMarker::find(const QObject *Owner, const QObject *Obj)
{
    if (!Owner)
        return nullptr;
    TTranslationMarker *found = nullptr;
    for (QObject *child : Owner->children()) {
        auto *marker = qobject_cast<TTranslationMarker *>(child);
        if (marker && marker->Obj() == Obj)
            found = marker;
    }
    return found;
}
