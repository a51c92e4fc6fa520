#pragma once
#include <QString>
#include <QStringView>
#include <QtGlobal>

// Text helpers shared by the language project model, reader and writer.

// ELF (PJW) hash over the UTF-16 code units of Text; the look-up key of an entry.
quint32 entryHash(const QString &text);

// Line breaks inside texts are stored as the two-character escapes "\r" and "\n".
// Backslashes themselves are not escaped, so the stored files stay readable by
// every program that already writes them.
QString escapeText(const QString &text);
QString unescapeText(QStringView text);

// "Blank" means only blanks and control characters (code units up to U+0020),
// which is narrower than QString::trimmed()'s notion of white space.
bool isBlankText(QStringView text);
QString trimControls(const QString &text);

// ASCII-only, case-insensitive prefix test for the format's keys and headers.
bool startsWithKey(QStringView line, QLatin1StringView key);
bool equalsKey(QStringView line, QLatin1StringView key);
