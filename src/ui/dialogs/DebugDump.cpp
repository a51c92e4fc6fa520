#include "ui/dialogs/DebugDump.h"

namespace {

constexpr int RowBytes = 16;

QString hex(unsigned value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

// The text column shows blank to right brace; the tilde and everything else as ".".
QChar printable(uint8_t b)
{
    return b >= 0x20 && b <= 0x7D ? QChar(b) : QLatin1Char('.');
}

} // namespace

QStringList dumpRows(const uint8_t *data, int count)
{
    QStringList rows;
    if (!data || count <= 0)
        return rows;
    const int rowCount = count / RowBytes + (count % RowBytes ? 1 : 0);
    rows.reserve(rowCount);
    for (int r = 0; r < rowCount; ++r) {
        const int start = r * RowBytes;
        QString row = hex(unsigned(start), 4) + QLatin1String(": ");
        QString text;
        for (int i = start; i < start + RowBytes; ++i) {
            if (i < count) {
                row += QLatin1Char(' ') + hex(data[i], 2);
                text += printable(data[i]);
            } else {
                row += QLatin1String(" ..");
            }
        }
        rows.append(row + QLatin1String("  ") + text);
    }
    return rows;
}
