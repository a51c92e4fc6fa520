// Arbitrary command lines for corvane-config (words split at NUL bytes):
// parsing must never crash, unknown words are ignored, and developer mode
// needs exactly the code as the only argument.
#include "app/CommandLine.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QStringList arguments{QStringLiteral("corvane-config")};
    for (const QByteArray &word : QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0'))
        arguments << QString::fromUtf8(word);
    const CommandLine c = CommandLine::parse(arguments);
    if (c.developerMode != (arguments.size() == 2 && arguments[1] == kDeveloperCode))
        std::abort();
    if (c.simulate < 0 || c.simulate > 16)
        std::abort();
    return 0;
}
