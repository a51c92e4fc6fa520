#pragma once
#include <QList>
#include <QObject>
#include <QString>

// One remembered translation of one text property.
struct TTextMarker
{
    QString Prop;
    QString OriginalText;
    QString TranslatedText;
};

// Records which untranslated text each shown translation of one object came
// from, so a window can be translated again into any language. It is a child
// of the object whose texts it records, so it is destroyed with it.
class TTranslationMarker : public QObject
{
    Q_OBJECT
public:
    TTranslationMarker(QObject *aOwner, const QObject *obj);

    // Identity only: the object is never dereferenced through the marker.
    const QObject *Obj() const { return m_obj; }
    const QList<TTextMarker> &texts() const { return FProps; }

    // The untranslated text recorded for Prop showing TranslatedText; empty
    // when there is none.
    QString FindText(const QString &prop, const QString &translatedText) const;
    void AddText(const QString &prop, const QString &originalText, const QString &translatedText);

    // The last marker among Owner's children that records Obj, or null.
    static TTranslationMarker *find(const QObject *owner, const QObject *obj);

private:
    const QObject *m_obj;
    QList<TTextMarker> FProps;
};
