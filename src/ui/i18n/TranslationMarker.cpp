#include "ui/i18n/TranslationMarker.h"

TTranslationMarker::TTranslationMarker(QObject *aOwner, const QObject *obj)
    : QObject(aOwner), m_obj(obj)
{
}

QString TTranslationMarker::FindText(const QString &prop, const QString &translatedText) const
{
    for (const TTextMarker &m : FProps) {
        if (m.Prop == prop && m.TranslatedText == translatedText)
            return m.OriginalText;
    }
    return {};
}

void TTranslationMarker::AddText(const QString &prop, const QString &originalText,
                                 const QString &translatedText)
{
    // Every language switch would append the same record again; since the
    // first matching record always wins, an exact duplicate can never be
    // found and would only make the list grow with each switch.
    for (const TTextMarker &m : FProps) {
        if (m.Prop == prop && m.OriginalText == originalText && m.TranslatedText == translatedText)
            return;
    }
    FProps.append({prop, originalText, translatedText});
}

TTranslationMarker *TTranslationMarker::find(const QObject *owner, const QObject *obj)
{
    if (!owner)
        return nullptr;
    TTranslationMarker *found = nullptr;
    for (QObject *child : owner->children()) {
        auto *marker = qobject_cast<TTranslationMarker *>(child);
        if (marker && marker->Obj() == obj)
            found = marker;
    }
    return found;
}
