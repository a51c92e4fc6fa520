#include "core/files/FileLock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Lock files this process holds or is trying right now. A record lock
// belongs to the whole process, and closing any descriptor of its file drops
// it: another object here may not even open the file while one holds it.
QMutex claimsMutex;
QSet<QString> claims;

bool claim(const QString &path)
{
    const QMutexLocker locker(&claimsMutex);
    if (claims.contains(path))
        return false;
    claims.insert(path);
    return true;
}

void release(const QString &path)
{
    const QMutexLocker locker(&claimsMutex);
    claims.remove(path);
}

QString describe(pid_t pid)
{
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    QString program = QStringLiteral("another program");
    if (cmdline.open(QIODevice::ReadOnly)) {
        const QByteArray first = cmdline.read(4096).split('\0').constFirst();
        if (!first.isEmpty())
            program = QFileInfo(QFile::decodeName(first)).fileName();
    }
    return QStringLiteral("%1 (process %2)").arg(program).arg(pid);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

FileLock::FileLock(QString lockPath) : m_path(std::move(lockPath)) {}

FileLock::~FileLock()
{
    unlock();
}

bool FileLock::lock(int timeoutMs, QString *error)
{
    if (m_fd >= 0)
        return true;
    m_holder.clear();
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("Cannot lock %1: %2").arg(m_path, why);
        return false;
    };
    // Holders keep the lock for one short operation, so short naps until
    // the deadline cost nothing and never spin.
    QDeadlineTimer deadline(timeoutMs);
    for (int napMs = 1;; napMs = qMin(2 * napMs, 50)) {
        QString why;
        if (tryOnce(&why))
            return true;
        if (!why.isEmpty()) {
            m_holder.clear();
            return fail(why);
        }
        if (deadline.hasExpired()) {
            if (m_holder.isEmpty())
                m_holder = QStringLiteral("another program");
            return fail(QStringLiteral("%1 holds it").arg(m_holder));
        }
        QThread::msleep(qMin<qint64>(napMs, qMax<qint64>(1, deadline.remainingTime())));
    }
}

// True when locked. False with `why` empty when someone else holds the lock
// (named in m_holder), with `why` set when the lock cannot be had at all.
bool FileLock::tryOnce(QString *why)
{
    if (!claim(m_path)) {
        m_holder = describe(::getpid());
        return false;
    }
    // No link is followed and nothing waits for a writer, whatever someone
    // put under that name.
    m_fd = ::open(QFile::encodeName(m_path).constData(),
                  O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (m_fd < 0) {
        *why = systemError();
        release(m_path);
        return false;
    }
    struct stat st{};
    struct flock whole{};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (::fstat(m_fd, &st) != 0)
        *why = systemError();
    else if (!S_ISREG(st.st_mode))
        *why = QStringLiteral("not a regular file");
    else if (::fcntl(m_fd, F_SETLK, &whole) == 0)
        return true;
    else if (errno != EACCES && errno != EAGAIN)
        *why = systemError();
    else if (::fcntl(m_fd, F_GETLK, &whole) == 0 && whole.l_type != F_UNLCK)
        m_holder = describe(whole.l_pid);
    unlock();
    return false;
}

// The claim in this process goes with the descriptor.
void FileLock::unlock()
{
    if (m_fd < 0)
        return;
    ::close(m_fd); // releases the lock
    m_fd = -1;
    release(m_path);
}
