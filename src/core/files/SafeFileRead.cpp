#include "core/files/SafeFileRead.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileRead refused(const QString &path, const QString &why)
{
    FileRead r;
    r.status = FileRead::Status::Refused;
    r.error = QStringLiteral("Cannot read %1: %2").arg(path, why);
    return r;
}

FileRead missing(const QString &path)
{
    FileRead r = refused(path, QStringLiteral("no such file"));
    r.status = FileRead::Status::Missing;
    return r;
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString tooLarge(qint64 maxBytes)
{
    return QStringLiteral("larger than %1 bytes").arg(maxBytes);
}

FileRead readResource(const QString &path, qint64 maxBytes)
{
    QFile file(path);
    if (!file.exists())
        return missing(path);
    // A resource knows its size: no buffer of the caller's maximum is needed.
    if (file.size() > maxBytes)
        return refused(path, tooLarge(maxBytes));
    if (!file.open(QIODevice::ReadOnly))
        return refused(path, file.errorString());
    FileRead r;
    r.data = file.readAll();
    r.status = FileRead::Status::Ok;
    return r;
}

// Reads to the end in one piece of the size the file reports (plus one byte,
// so growth shows), then on in small steps: files under /proc report 0.
// Stops one byte past maxBytes, so an oversized file is found whatever its
// reported size, never read cut short.
bool readCapped(int fd, qint64 reportedSize, qint64 maxBytes, QByteArray *out, int *error)
{
    constexpr qint64 step = 64 * 1024;
    for (qint64 want = qMin(reportedSize + 1, maxBytes + 1);; want = qMin(step, maxBytes + 1 - out->size())) {
        if (want <= 0)
            return true;
        const qsizetype start = out->size();
        out->resize(start + want);
        const ssize_t n = ::read(fd, out->data() + start, size_t(want));
        out->resize(start + qMax<ssize_t>(n, 0));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *error = errno;
            return false;
        }
        if (n == 0)
            return true;
    }
}

} // namespace

FileRead readRegularFile(const QString &path, qint64 maxBytes)
{
    if (path.startsWith(QLatin1Char(':')))
        return readResource(path, maxBytes);
    if (path.isEmpty())
        return missing(path);

    const QByteArray name = QFile::encodeName(path);
    // Looked at before opening, so a device is not even opened; checked again
    // on the open descriptor, as the name may have been replaced meanwhile.
    struct stat st{};
    if (::stat(name.constData(), &st) != 0)
        return errno == ENOENT ? missing(path) : refused(path, systemError(errno));
    if (!S_ISREG(st.st_mode))
        return refused(path, QStringLiteral("not a regular file"));

    // Non-blocking: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? missing(path) : refused(path, systemError(errno));
    FileRead r;
    int error = 0;
    if (::fstat(fd, &st) != 0)
        r = refused(path, systemError(errno));
    else if (!S_ISREG(st.st_mode))
        r = refused(path, QStringLiteral("not a regular file"));
    else if (st.st_size > maxBytes)
        r = refused(path, tooLarge(maxBytes));
    else if (!readCapped(fd, st.st_size, maxBytes, &r.data, &error))
        r = refused(path, systemError(error));
    else if (r.data.size() > maxBytes)
        r = refused(path, tooLarge(maxBytes));
    else
        r.status = FileRead::Status::Ok;
    ::close(fd);
    return r;
}
