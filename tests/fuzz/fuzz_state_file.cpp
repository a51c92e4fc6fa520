// Arbitrary bytes as the simulated controllers' state file: the reader must
// neither crash nor hang, accept only complete entries of 32-bit values, and
// whatever it accepts must come back unchanged through the writer.
#include "device/SimStateFile.h"

#include <QByteArray>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (qint64(size) > SimStateFile::MaxBytes)
        return 0; // never read from disk
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QJsonObject controllers;
    if (!SimStateFile::parse(bytes, &controllers).isEmpty()) {
        if (!controllers.isEmpty())
            std::abort(); // a refused file offers nothing
        return 0;
    }
    QJsonObject back;
    if (!SimStateFile::parse(SimStateFile::format(controllers), &back).isEmpty() || back != controllers)
        std::abort();
    return 0;
}
