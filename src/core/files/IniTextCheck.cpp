#include "core/files/IniTextCheck.h"

#include <QByteArray>
#include <QHash>
#include <QSet>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Keeps a message readable when a file holds a very long name.
QString shown(QByteArrayView name)
{
    constexpr qsizetype MaxShown = 40;
    // Decodes no more than those characters can take (four bytes each).
    QString s = QString::fromUtf8(name.first(qMin(name.size(), 4 * MaxShown + 4)));
    if (s.size() > MaxShown)
        s = s.left(MaxShown) + QStringLiteral("...");
    return s;
}

QByteArray trimmedEnd(QByteArrayView name)
{
    while (!name.isEmpty() && isSpace(name.back()))
        name.chop(1);
    return name.toByteArray();
}

class Scanner
{
public:
    explicit Scanner(QByteArrayView text) : t(text), n(text.size()) {}

    IniTextCheck run()
    {
        if (const qsizetype nul = t.indexOf('\0'); nul >= 0)
            return nulAt(nul);
        qsizetype pendingComment = -1; // a comment no entry has followed yet
        while (p < n) {
            while (p < n && isSpace(t[p]))
                ++p;
            if (p == n)
                break;
            if (t[p] == ';' || t[p] == '#') {
                if (pendingComment < 0)
                    pendingComment = p;
                skipLine();
                continue;
            }
            const qsizetype start = p;
            const bool entry = t[p] == '[' ? section() : key();
            if (!r.ambiguity.isEmpty())
                return r;
            if (m_sections.size() > MaxIniEntries || m_keyCount > MaxIniEntries) {
                r = IniTextCheck();
                r.tooMany = QStringLiteral("The file holds more than %1 %2")
                                .arg(MaxIniEntries)
                                .arg(m_keyCount > MaxIniEntries ? QStringLiteral("keys") : QStringLiteral("sections"));
                return r;
            }
            if (entry)
                pendingComment = -1;
            else
                drop(start, QStringLiteral("line %1 is no INI line"));
        }
        if (pendingComment >= 0)
            drop(pendingComment, QStringLiteral("the comment in line %1 ends the file"));
        return r;
    }

private:
    qsizetype lineAt(qsizetype pos) const { return t.first(pos).count('\n') + 1; }

    IniTextCheck nulAt(qsizetype nul)
    {
        const qsizetype start = t.lastIndexOf('\n', nul) + 1;
        const QByteArrayView line = t.sliced(start, nul - start);
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            r.ambiguity = QStringLiteral("Key %1 holds a NUL byte").arg(shown(line.first(eq).trimmed()));
        else
            r.ambiguity = QStringLiteral("Line %1 holds a NUL byte").arg(lineAt(start));
        return r;
    }

    void skipLine()
    {
        while (p < n && !isLineEnd(t[p]))
            ++p;
    }

    void drop(qsizetype pos, const QString &what)
    {
        if (r.dropped.isEmpty())
            r.dropped = what.arg(lineAt(pos));
    }

    // "[ name ]": blanks (even line breaks) may follow the bracket; text
    // after the closing bracket is ignored.
    bool section()
    {
        ++p;
        while (p < n && isSpace(t[p]))
            ++p;
        const qsizetype start = p;
        while (p < n && t[p] != ']' && !isLineEnd(t[p]))
            ++p;
        if (p == n || t[p] != ']')
            return false;
        m_section = trimmedEnd(t.sliced(start, p - start));
        const QByteArray folded = m_section.toLower();
        if (m_sections.contains(folded) || (folded.isEmpty() && m_keys.contains(folded))) {
            r.ambiguity = QStringLiteral("Section %1 is given twice").arg(shown(m_section));
            return true;
        }
        m_sections.insert(folded);
        const qsizetype close = ++p;
        skipLine();
        for (qsizetype i = close; i < p; ++i) {
            if (!isSpace(t[i])) {
                drop(i, QStringLiteral("line %1 holds text after a section name"));
                break;
            }
        }
        return true;
    }

    // "key = value": a line without "=" or with an empty key is no entry.
    bool key()
    {
        const qsizetype start = p;
        while (p < n && t[p] != '=' && !isLineEnd(t[p]))
            ++p;
        const bool isKey = p < n && t[p] == '=' && p > start;
        const QByteArray name = isKey ? trimmedEnd(t.sliced(start, p - start)) : QByteArray();
        skipLine();
        if (!isKey)
            return false;
        ++m_keyCount;
        QSet<QByteArray> &seen = m_keys[m_section.toLower()];
        if (!seen.contains(name.toLower()))
            seen.insert(name.toLower());
        else
            r.ambiguity = QStringLiteral("Key %1 is given twice in section %2").arg(shown(name), shown(m_section));
        return true;
    }

    const QByteArrayView t;
    const qsizetype n;
    qsizetype p = 0;
    IniTextCheck r;
    QByteArray m_section; // as written; keys before any section have none
    QSet<QByteArray> m_sections;
    QHash<QByteArray, QSet<QByteArray>> m_keys; // by lower-case section
    int m_keyCount = 0;
};

} // namespace

IniTextCheck checkIniText(QByteArrayView text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    return Scanner(text).run();
}
