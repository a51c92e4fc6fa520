#include "core/protocol/ReportTrace.h"

QString reportTraceLine(bool sent, const uint8_t *report64)
{
    QString line = QLatin1String(sent ? "> " : "< ");
    line.reserve(2 + 64 * 3);
    for (int i = 0; i < 64; ++i) {
        if (i)
            line += QLatin1Char(' ');
        line += QStringLiteral("%1").arg(report64[i], 2, 16, QLatin1Char('0')).toUpper();
    }
    return line;
}
