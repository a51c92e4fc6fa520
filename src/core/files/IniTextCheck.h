#pragma once
#include <QByteArrayView>
#include <QString>

// What the INI reader would do with a text beyond reading it: where it would
// cut or merge (so what it applies is not what the file says), and where a
// save of what it read would drop something. Sections and keys are found
// exactly the way the reader finds them and compared as it compares them,
// ignoring ASCII letter case.
struct IniTextCheck
{
    // More sections, or more keys, than any file of ours can mean to hold:
    // the text is not examined further (the other fields stay empty) and
    // should not be parsed either. Says which; empty when within bounds.
    QString tooMany;
    // A NUL byte (the reader stops there), or a section or a key given
    // twice (the reader merges them, the last value winning). Names the
    // line, key or section; empty when there is none.
    QString ambiguity;
    // A line the reader skips, text after a section's closing bracket, or a
    // comment at the end that no section or key follows: gone after a save.
    QString dropped;

    bool lossless() const { return ambiguity.isEmpty() && dropped.isEmpty(); }
};

inline constexpr int MaxIniEntries = 1000;

// text is UTF-8, optionally with a byte-order mark.
IniTextCheck checkIniText(QByteArrayView text);
