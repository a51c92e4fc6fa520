#pragma once
#include <QByteArrayView>
#include <QString>

// Text from a file, a device or an argument made safe for a terminal:
// control characters (C0 but the line break, DEL, C1) are shown as "\x1b"
// and the like, so an escape sequence in a profile cannot retitle, clear or
// hide the terminal. Printable text of any script stays as it is.
QString visibleText(const QString &text);

// The same for bytes meant as UTF-8: what is not UTF-8 is shown byte by
// byte ("bad\xff\xfe.cvn"), so a file name shows exactly what it is.
QString visibleBytes(QByteArrayView bytes);
