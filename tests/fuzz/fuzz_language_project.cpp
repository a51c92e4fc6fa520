// Feeds arbitrary bytes to the language project reader, and whatever it
// accepts through the writer and the reader again. Nothing may crash, hang or
// touch memory outside the input; TLanguageError is the only way to refuse.

#include "core/i18n/LanguageObjects.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    static const TLanguageList Catalogue(true);
    // No copy: the sanitizer then catches any read past the fuzzer's buffer.
    const QByteArray Bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(Data), qsizetype(Size));
    try {
        TProject Project(Bytes, Catalogue);
        // One round trip per input, with or without the meta data by the
        // input's length: both are covered across the corpus at half the cost.
        try {
            const QByteArray Saved = Project.SaveToBytes(Size % 2 == 1);
            TProject Again(Saved, Catalogue);
            (void)Again.Entries.Count();
        } catch (const TLanguageError &) {
        }
        for (const auto &Entry : Project.Entries) {
            (void)Entry->IsFullyTranslated();
            (void)Entry->Occurences.GetText();
        }
    } catch (const TLanguageError &) {
    }
    return 0;
}
