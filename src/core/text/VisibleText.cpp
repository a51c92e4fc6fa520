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
        // The shortest sequence (of at most four bytes) that decodes to one
        // character that encodes back to the same bytes: no stray, overlong
        // or cut sequence, no surrogate.
        qsizetype length = 0;
        QString decoded;
        for (qsizetype n = 1; n <= qMin<qsizetype>(4, bytes.size() - i) && length == 0; ++n) {
            decoded = QString::fromUtf8(bytes.sliced(i, n));
            if (decoded.toUtf8() == bytes.sliced(i, n))
                length = n;
        }
        if (length > 0) {
            out += visibleText(decoded);
            i += length;
        } else {
            out += escaped(uchar(bytes[i]));
            ++i;
        }
    }
    return out;
}
