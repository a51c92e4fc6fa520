#pragma once
#include <QStringList>

#include <cstdint>

// Hex dump rows of the debug log: "0010:  41 42 .. ..  AB". One row per 16
// bytes; offsets have at least four upper-case hex digits. Reads exactly
// `count` bytes from `data` (none when count <= 0).
QStringList dumpRows(const uint8_t *data, int count);
