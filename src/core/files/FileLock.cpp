#include "core/files/FileLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

FileLock::FileLock(QString lockPath) : m_path(std::move(lockPath)) {}

FileLock::~FileLock()
{
    unlock();
}

bool FileLock::lock(int timeoutMs, QString *error)
{
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("Cannot lock %1: %2").arg(m_path, why);
        unlock();
        return false;
    };
    if (m_fd >= 0)
        return true;
    // No link is followed and nothing waits for a writer, whatever someone
    // put under that name.
    m_fd = ::open(QFile::encodeName(m_path).constData(),
                  O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st{};
    if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode))
        return fail(QStringLiteral("not a regular file"));

    // Holders keep the lock for one small read and write, so short naps
    // until the deadline cost nothing and never spin.
    QDeadlineTimer deadline(timeoutMs);
    for (int napMs = 1;; napMs = qMin(2 * napMs, 50)) {
        if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno != EWOULDBLOCK && errno != EINTR)
            return fail(QString::fromLocal8Bit(std::strerror(errno)));
        if (deadline.hasExpired())
            return fail(QStringLiteral("another process holds it"));
        QThread::msleep(qMin<qint64>(napMs, qMax<qint64>(1, deadline.remainingTime())));
    }
}

void FileLock::unlock()
{
    if (m_fd >= 0) {
        ::close(m_fd); // releases the lock
        m_fd = -1;
    }
}
