#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

// The message a later copy of the program sends the first one: a 4-byte
// big-endian payload length, then every argument as UTF-8 followed by a zero
// byte (argv can hold none), so an empty argument survives the trip.
namespace InstanceMessage {

inline constexpr qsizetype HeaderBytes = 4;
// A longer message is cut to the arguments that fit.
inline constexpr qsizetype MaxPayloadBytes = 64 * 1024;

QByteArray encode(const QStringList &arguments);

enum class Status { Incomplete, Complete, Oversized };
// Looks at what has arrived so far. Complete fills arguments; Oversized
// means the sender announced more than MaxPayloadBytes.
Status decode(QByteArrayView received, QStringList *arguments);

} // namespace InstanceMessage
