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
    constexpr qsizetype maxShown = 40;
    // Decodes no more than those characters can take (four bytes each).
    QString s = QString::fromUtf8(name.first(qMin(name.size(), 4 * maxShown + 4)));
    if (s.size() > maxShown)
        s = s.left(maxShown) + QStringLiteral("...");
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
    explicit Scanner(QByteArrayView text) : m_t(text), m_n(text.size()) {}

    IniTextCheck run()
    {
        if (const qsizetype nul = m_t.indexOf('\0'); nul >= 0)
            return nulAt(nul);
        qsizetype pendingComment = -1; // a comment no entry has followed yet
        while (m_p < m_n) {
            while (m_p < m_n && isSpace(m_t[m_p]))
                ++m_p;
            if (m_p == m_n)
                break;
            if (m_t[m_p] == ';' || m_t[m_p] == '#') {
                if (pendingComment < 0)
                    pendingComment = m_p;
                skipLine();
                continue;
            }
            const qsizetype start = m_p;
            const bool entry = m_t[m_p] == '[' ? section() : key();
            if (!m_r.ambiguity.isEmpty())
                return m_r;
            if (m_sections.size() > MaxIniEntries || m_keyCount > MaxIniEntries) {
                m_r = IniTextCheck();
                m_r.tooMany = QStringLiteral("The file holds more than %1 %2")
                                .arg(MaxIniEntries)
                                .arg(m_keyCount > MaxIniEntries ? QStringLiteral("keys") : QStringLiteral("sections"));
                return m_r;
            }
            if (entry)
                pendingComment = -1;
            else
                drop(start, QStringLiteral("line %1 is no INI line"));
        }
        if (pendingComment >= 0)
            drop(pendingComment, QStringLiteral("the comment in line %1 ends the file"));
        return m_r;
    }

private:
    qsizetype lineAt(qsizetype pos) const { return m_t.first(pos).count('\n') + 1; }

    IniTextCheck nulAt(qsizetype nul)
    {
        const qsizetype start = m_t.lastIndexOf('\n', nul) + 1;
        const QByteArrayView line = m_t.sliced(start, nul - start);
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            m_r.ambiguity = QStringLiteral("Key %1 holds a NUL byte").arg(shown(line.first(eq).trimmed()));
        else
            m_r.ambiguity = QStringLiteral("Line %1 holds a NUL byte").arg(lineAt(start));
        return m_r;
    }

    void skipLine()
    {
        while (m_p < m_n && !isLineEnd(m_t[m_p]))
            ++m_p;
    }

    void drop(qsizetype pos, const QString &what)
    {
        if (m_r.dropped.isEmpty())
            m_r.dropped = what.arg(lineAt(pos));
    }

    // "[ name ]": blanks (even line breaks) may follow the bracket; text
    // after the closing bracket is ignored.
    bool section()
    {
        ++m_p;
        while (m_p < m_n && isSpace(m_t[m_p]))
            ++m_p;
        const qsizetype start = m_p;
        while (m_p < m_n && m_t[m_p] != ']' && !isLineEnd(m_t[m_p]))
            ++m_p;
        if (m_p == m_n || m_t[m_p] != ']')
            return false;
        m_section = trimmedEnd(m_t.sliced(start, m_p - start));
        const QByteArray folded = m_section.toLower();
        if (m_sections.contains(folded) || (folded.isEmpty() && m_keys.contains(folded))) {
            m_r.ambiguity = QStringLiteral("Section %1 is given twice").arg(shown(m_section));
            return true;
        }
        m_sections.insert(folded);
        const qsizetype close = ++m_p;
        skipLine();
        for (qsizetype i = close; i < m_p; ++i) {
            if (!isSpace(m_t[i])) {
                drop(i, QStringLiteral("line %1 holds text after a section name"));
                break;
            }
        }
        return true;
    }

    // "key = value": a line without "=" or with an empty key is no entry.
    bool key()
    {
        const qsizetype start = m_p;
        while (m_p < m_n && m_t[m_p] != '=' && !isLineEnd(m_t[m_p]))
            ++m_p;
        const bool isKey = m_p < m_n && m_t[m_p] == '=' && m_p > start;
        const QByteArray name = isKey ? trimmedEnd(m_t.sliced(start, m_p - start)) : QByteArray();
        skipLine();
        if (!isKey)
            return false;
        ++m_keyCount;
        QSet<QByteArray> &seen = m_keys[m_section.toLower()];
        if (!seen.contains(name.toLower()))
            seen.insert(name.toLower());
        else
            m_r.ambiguity = QStringLiteral("Key %1 is given twice in section %2").arg(shown(name), shown(m_section));
        return true;
    }

    const QByteArrayView m_t;
    const qsizetype m_n;
    qsizetype m_p = 0;
    IniTextCheck m_r;
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
