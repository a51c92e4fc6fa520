#include "session/ControllerLock.h"

#include "core/files/UserRuntimeFolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcLock, "corvane.session.lock")

namespace {

constexpr int kRetryMs = 10;

// A file name for any serial number: its safe characters, and a digest so
// two serials that differ only in unsafe ones stay apart.
QString lockName(const QString &serial)
{
    QString safe;
    for (QChar c : serial)
        safe += (c.isLetterOrNumber() && c.unicode() < 128) ? c : QLatin1Char('_');
    const QByteArray digest = QCryptographicHash::hash(serial.toUtf8(), QCryptographicHash::Sha256).toHex().left(8);
    return QStringLiteral("controller-%1-%2.lock").arg(safe.left(32), QString::fromLatin1(digest));
}

QString holderOf(int fd)
{
    char buf[128] = {};
    const ssize_t n = ::pread(fd, buf, sizeof buf - 1, 0);
    const QString text = n > 0 ? QString::fromUtf8(buf, int(n)).trimmed() : QString();
    const QString pid = text.section(QLatin1Char(' '), 0, 0);
    const QString program = text.section(QLatin1Char(' '), 1);
    if (pid.isEmpty())
        return QStringLiteral("another program");
    return QStringLiteral("%1 (process %2)").arg(program.isEmpty() ? QStringLiteral("another program") : program, pid);
}

} // namespace

ControllerLock::ControllerLock(int fd)
    : m_fd(fd)
{
}

ControllerLock::~ControllerLock()
{
    if (m_fd < 0)
        return;
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
}

std::unique_ptr<ControllerLock> ControllerLock::acquire(const QString &serial, int waitMs, QString *error)
{
    QString why;
    const QString folder = userRuntimeFolder(&why);
    if (folder.isEmpty()) {
        // Refusing every command because someone planted a folder would hand
        // that someone the controller; work unguarded and say so.
        qCWarning(lcLock).noquote() << "no private folder for controller locks, working without them:" << why;
        return std::unique_ptr<ControllerLock>(new ControllerLock(-1));
    }
    const QByteArray path = QFile::encodeName(QDir(folder).filePath(lockName(serial)));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        *error = QStringLiteral("Cannot open the lock of %1: %2").arg(serial, QString::fromLocal8Bit(std::strerror(errno)));
        return nullptr;
    }
    QElapsedTimer waited;
    waited.start();
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited.elapsed() >= waitMs) {
            *error = QStringLiteral("CORVANE %1 is in use by %2; try again when it is done.").arg(serial, holderOf(fd));
            ::close(fd);
            return nullptr;
        }
        QThread::msleep(kRetryMs);
    }
    const QString program = QCoreApplication::instance() ? QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                                                         : QString();
    const QByteArray holder = QByteArray::number(qint64(::getpid())) + ' ' + program.toUtf8() + '\n';
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, holder.constData(), size_t(holder.size()), 0) < 0) {
        // The lock holds all the same; only the name of its holder is missing.
    }
    return std::unique_ptr<ControllerLock>(new ControllerLock(fd));
}
