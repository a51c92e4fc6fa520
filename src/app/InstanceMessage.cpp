#include "app/InstanceMessage.h"

#include <QtEndian>

namespace InstanceMessage {

QByteArray encode(const QStringList &arguments)
{
    QByteArray payload;
    for (const QString &a : arguments) {
        const QByteArray bytes = a.toUtf8() + '\0';
        if (payload.size() + bytes.size() > MaxPayloadBytes)
            break; // the first copy ignores them anyway; never send a partial one
        payload += bytes;
    }
    QByteArray message(HeaderBytes, '\0');
    qToBigEndian(quint32(payload.size()), message.data());
    return message + payload;
}

Status decode(QByteArrayView received, QStringList *arguments)
{
    if (received.size() < HeaderBytes)
        return Status::Incomplete;
    const quint32 length = qFromBigEndian<quint32>(received.data());
    if (length > quint32(MaxPayloadBytes))
        return Status::Oversized;
    if (received.size() - HeaderBytes < qsizetype(length))
        return Status::Incomplete;
    const QByteArrayView payload = received.sliced(HeaderBytes, length);
    arguments->clear();
    // Text after the last zero byte is no whole argument and is ignored.
    for (qsizetype start = 0, end; (end = payload.indexOf('\0', start)) >= 0; start = end + 1)
        *arguments << QString::fromUtf8(payload.sliced(start, end - start));
    return Status::Complete;
}

} // namespace InstanceMessage
