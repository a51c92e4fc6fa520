#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// One place where an entry's text occurs. Meta data for editing projects;
// translating never looks at it.
class TOccurence
{
public:
    TOccurence() = default;
    TOccurence(const QString &filename, qint32 line, const QString &component);

    // Parses the text form "file:line[:component]" with the rules of delimited
    // text: ":" and also blanks and control characters separate fields, and a
    // field in double quotes may hold them. Two or three fields give an
    // occurrence; any other count gives an empty one. Throws LanguageError
    // when the line field is not a decimal integer.
    static TOccurence Create(const QString &line);
    // The same without throwing: false when the line field is not a number.
    static bool parse(QStringView line, TOccurence *out);

    TOccurence Clone() const { return *this; }
    QString GetString() const;

    QString Filename;
    qint32 Line = 0;
    QString Component;
};

class TOccurenceList : public QList<TOccurence>
{
public:
    // Every occurrence's GetString() on a line of its own, without a final line break.
    QString GetText() const;
    bool ContainsFile(const QString &filename) const;
    bool ContainsFileFrom(const QStringList &files) const;
};
