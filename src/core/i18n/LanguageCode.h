#pragma once
#include <QStringView>

// A language or country code of `minSize` to `maxSize` ASCII letters. Codes
// checked with it become parts of file and resource names, so anything else
// (an empty code, a path, a region suffix) is refused before it gets there.
inline bool isLetterCode(QStringView code, qsizetype minSize, qsizetype maxSize)
{
    if (code.size() < minSize || code.size() > maxSize)
        return false;
    for (QChar c : code) {
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            return false;
    }
    return true;
}
