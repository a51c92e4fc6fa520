#include "core/protocol/ParamTags.h"

int tagIndex(const QByteArray &code)
{
    for (int i = 0; i < kParamTagCount; ++i) {
        if (code == kParamTagCodes[std::size_t(i)])
            return i;
    }
    return -1;
}

int tagIndex(const QString &code)
{
    // A character outside Latin-1 can never be part of a tag; toLatin1 would
    // turn it into '?', so rule it out first.
    for (QChar c : code) {
        if (c.unicode() > 0xFF)
            return -1;
    }
    return tagIndex(code.toLatin1());
}

int tagIndex(const char *code)
{
    return code ? tagIndex(QByteArray(code)) : -1;
}

uint32_t tagWord(const QByteArray &code)
{
    return makeTagWord(code.constData()); // always NUL-terminated
}

uint32_t tagWord(const QString &code)
{
    return tagWord(code.left(4).toLatin1());
}

uint32_t tagWord(const char *code)
{
    return code ? makeTagWord(code) : 0;
}
