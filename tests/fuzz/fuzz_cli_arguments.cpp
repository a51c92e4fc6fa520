// Arbitrary command lines for corvane-cli: the words of the input, split at
// NUL bytes. Parsing and the command's own argument checks (tags, fields,
// values) must never crash, and a line they accept must name a command.
#include "cli/CliCommands.h"
#include "cli/CliOptions.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QStringList arguments{QStringLiteral("corvane-cli")};
    for (const QByteArray &word : QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0'))
        arguments << QString::fromUtf8(word);
    CliOptions options;
    QString error;
    if (!CliOptions::parse(arguments, &options, &error)) {
        if (error.isEmpty())
            std::abort(); // a refusal always says why
        return 0;
    }
    if (options.help || options.version)
        return 0;
    if (options.command.isEmpty())
        std::abort();
    if (const CliCommand *command = findCliCommand(options.command)) {
        // A refusal always says why.
        if (const CliOutcome refused = command->check(options); !refused.ok() && refused.message().isEmpty())
            std::abort();
    }
    return 0;
}
