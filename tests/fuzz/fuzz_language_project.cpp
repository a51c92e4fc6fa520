// Feeds arbitrary bytes to the language project reader, and whatever it
// accepts through the writer and the reader again. Nothing may crash, hang or
// touch memory outside the input; LanguageError is the only way to refuse.

#include "core/i18n/LanguageObjects.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    static const TLanguageList catalogue(true);
    // No copy: the sanitizer then catches any read past the fuzzer's buffer.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(Data), qsizetype(Size));
    try {
        TProject project(bytes, catalogue);
        // One round trip per input, with or without the meta data by the
        // input's length: both are covered across the corpus at half the cost.
        try {
            const QByteArray saved = project.saveToBytes(Size % 2 == 1);
            TProject again(saved, catalogue);
            (void)again.Entries.count();
        } catch (const LanguageError &) {
        }
        for (const auto &Entry : project.Entries) {
            (void)Entry->IsFullyTranslated();
            (void)Entry->Occurences.GetText();
        }
    } catch (const LanguageError &) {
    }
    return 0;
}
