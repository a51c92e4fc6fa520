// Arbitrary bytes as a profile file: the reader must neither crash nor hang,
// and may only offer parameters to apply when the file is unambiguous and
// every value was a 32-bit decimal integer.
#include "core/files/IniFile.h"
#include "core/files/ProfileFile.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const ParsedProfile p = ProfileFile::readProfile(bytes);

    if (!p.fileError.isEmpty())
        std::abort(); // there is no file to fail on
    if (!p.formatError.isEmpty()) {
        if (!p.keys.isEmpty() || !p.params.isEmpty() || p.loadError(p.id) != p.formatError)
            std::abort(); // an ambiguous file offers nothing to apply
        return 0;
    }
    if (p.valueError.isEmpty()) {
        if (p.params.size() != p.keys.size())
            std::abort();
        for (qsizetype i = 0; i < p.params.size(); ++i) {
            if (p.params[i].code != p.keys[i])
                std::abort();
            // Whatever was accepted must survive the writer's format.
            if (IniFile::parseInt32(ProfileFile::formatValue(p.params[i].value)) != int32_t(p.params[i].value))
                std::abort();
        }
    } else if (!p.params.isEmpty() || p.keys.isEmpty()) {
        std::abort(); // a bad value must leave nothing to apply
    }

    // Whatever the checks decide, the answer is one of the defined outcomes.
    (void)p.loadError(p.id);
    return 0;
}
