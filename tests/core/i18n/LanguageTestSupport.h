#pragma once
#include "core/i18n/LanguageObjects.h"

#include <QByteArray>
#include <QStringList>
#include <QtEndian>

// Project text as the reader sees it: UTF-16LE, every line ended by CR LF.
inline QByteArray ProjectText(const QStringList &Lines)
{
    QByteArray Bytes;
    for (const QString &Line : Lines) {
        const QString Text = Line + QStringLiteral("\r\n");
        QByteArray Encoded(Text.size() * 2, Qt::Uninitialized);
        qToLittleEndian<char16_t>(Text.utf16(), Text.size(), Encoded.data());
        Bytes += Encoded;
    }
    return Bytes;
}

// The smallest readable project: English primary, German, the given entry lines.
inline QStringList MinimalProject(const QStringList &EntryLines)
{
    return QStringList{QStringLiteral("[settings]"), QStringLiteral("name=Test"),
                       QStringLiteral("primarylanguage=en"), QStringLiteral("[languages]"),
                       QStringLiteral("id=en"), QStringLiteral("id=de"), QStringLiteral("[entries]")}
           + EntryLines;
}

inline QString TranslationOf(const TEntry &Entry, const QString &Code)
{
    for (const TTranslation &T : Entry.Translations) {
        if (T.Language->ID == Code)
            return T.Translation;
    }
    return QStringLiteral("<none>");
}
