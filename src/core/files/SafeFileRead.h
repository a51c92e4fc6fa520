#pragma once
#include <QByteArray>
#include <QString>

// Reads a whole file the user or a setting names (settings, profiles, the
// simulated controllers' state, a language project) without ever blocking:
// a FIFO, a device or a folder under that name is refused, not opened for a
// blocking read, and so is a file larger than the caller allows.
// Qt resource paths (":/...") are read as they are.
struct FileRead
{
    enum class Status { Ok, Missing, Refused };

    Status status = Status::Refused;
    QByteArray data;
    // Names the file: "Cannot read /x/y.ini: not a regular file".
    QString error;

    bool ok() const { return status == Status::Ok; }
    bool missing() const { return status == Status::Missing; }
};

FileRead readRegularFile(const QString &path, qint64 maxBytes);
