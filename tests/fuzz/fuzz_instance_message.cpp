// Arbitrary bytes as what a later copy sends the running one: the decoder
// must neither crash nor read past what arrived, never wait for more than
// the announced length allows, and what it decodes must survive the encoder.
#include "app/InstanceMessage.h"

#include <QByteArray>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // No copy: the sanitizer then catches any read past the fuzzer's buffer.
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList arguments;
    const auto status = InstanceMessage::decode(bytes, &arguments);
    if (status != InstanceMessage::Status::Complete) {
        if (size >= InstanceMessage::HeaderBytes + InstanceMessage::MaxPayloadBytes
            && status == InstanceMessage::Status::Incomplete)
            std::abort(); // would wait for more than may ever come
        return 0;
    }
    QStringList back;
    if (InstanceMessage::decode(InstanceMessage::encode(arguments), &back) != InstanceMessage::Status::Complete)
        std::abort();
    // Repaired UTF-8 may grow and push the last arguments out; never changes one.
    if (back.size() > arguments.size() || back != arguments.first(back.size()))
        std::abort();
    return 0;
}
