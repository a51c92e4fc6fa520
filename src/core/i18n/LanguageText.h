#pragma once
#include <QString>
#include <QStringView>
#include <QtGlobal>

// Text helpers shared by the language project model, reader and writer.

// ELF (PJW) hash over the UTF-16 code units of Text; the look-up key of an entry.
quint32 EntryHash(const QString &Text);

// Line breaks inside texts are stored as the two-character escapes "\r" and "\n".
// Backslashes themselves are not escaped, so the stored files stay readable by
// every program that already writes them.
QString EscapeText(const QString &Text);
QString UnescapeText(QStringView Text);

// "Blank" means only blanks and control characters (code units up to U+0020),
// which is narrower than QString::trimmed()'s notion of white space.
bool IsBlankText(QStringView Text);
QString TrimControls(const QString &Text);

// ASCII-only, case-insensitive prefix test for the format's keys and headers.
bool StartsWithKey(QStringView Line, QLatin1StringView Key);
bool EqualsKey(QStringView Line, QLatin1StringView Key);
