#include "core/text/VisibleText.h"

namespace {

bool isControl(char16_t c)
{
    return (c < 0x20 && c != u'\n') || (c >= 0x7f && c <= 0x9f);
}

QString escaped(unsigned value)
{
    return QStringLiteral("\\x%1").arg(value, 2, 16, QLatin1Char('0'));
}

// Length of the UTF-8 sequence a lead byte starts, 0 for no lead byte.
qsizetype sequenceLength(unsigned char lead)
{
    return lead < 0x80 ? 1 : lead >= 0xc2 && lead <= 0xdf ? 2 : lead >= 0xe0 && lead <= 0xef ? 3
         : lead >= 0xf0 && lead <= 0xf4                   ? 4
                                                          : 0;
}

} // namespace

QString visibleText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    // Every control character is a single UTF-16 unit.
    for (const QChar c : text) {
        if (isControl(c.unicode()))
            out += escaped(c.unicode());
        else
            out += c;
    }
    return out;
}

QString visibleBytes(QByteArrayView bytes)
{
    QString out;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = sequenceLength(uchar(bytes[i]));
        const QByteArrayView sequence = bytes.sliced(i, qMin(qMax<qsizetype>(length, 1), bytes.size() - i));
        // A sequence is valid when it decodes to one character that encodes
        // back to the same bytes (no overlong form, no surrogate).
        const QString decoded = QString::fromUtf8(sequence);
        if (length > 0 && sequence.size() == length && decoded.toUtf8() == sequence) {
            out += visibleText(decoded);
            i += length;
        } else {
            out += escaped(uchar(bytes[i]));
            ++i;
        }
    }
    return out;
}
