#pragma once
#include <QByteArray>
#include <QJsonObject>
#include <QString>

// The text form of the simulated controllers' state:
//   { "format": 1, "controllers": { "SIM0001": { "BRIG": 150, ... }, ... } }
// with all 21 tags per controller, values as unsigned 32-bit numbers.
namespace SimStateFile {

// A state file is a few kilobytes; a wrongly chosen huge file is not read.
inline constexpr qint64 MaxBytes = 1024 * 1024;

// Checks text and fills controllers (serial number -> {tag: value}).
// Returns why the text is unusable, or an empty text.
QString parse(const QByteArray &text, QJsonObject *controllers);
QByteArray format(const QJsonObject &controllers);

} // namespace SimStateFile
