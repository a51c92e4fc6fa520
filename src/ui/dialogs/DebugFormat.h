#pragma once
#include <QString>
#include <QVariantList>

// printf-style formatting over a list of values, for log lines whose
// arguments are only known at run time: %d %i %u %x %X %o %c %s %f %e %g %%
// with the flags "-+ 0#", a width and a precision ("%.2x", "%-8s", "%5.1f").
// Hexadecimal digits are upper case for %x and %X alike ("0x%0.2x" of 10 is
// "0x0A"). Hex of a negative 32-bit value prints its 32-bit pattern. A conversion
// without a matching value, or one not understood, is copied as written.
QString formatText(const QString &form, const QVariantList &args);
