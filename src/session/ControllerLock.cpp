#include "session/ControllerLock.h"

#include "core/files/FileLock.h"
#include "core/files/UserRuntimeFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLoggingCategory>

#include <atomic>

Q_LOGGING_CATEGORY(lcLock, "corvane.session.lock")

namespace {

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

std::function<void(const QString &)> unguardedNotice;

} // namespace

void ControllerLock::setUnguardedNotice(std::function<void(const QString &)> notice)
{
    unguardedNotice = std::move(notice);
}

ControllerLock::ControllerLock(std::unique_ptr<FileLock> lock)
    : m_lock(std::move(lock))
{
}

ControllerLock::~ControllerLock() = default;

std::unique_ptr<ControllerLock> ControllerLock::acquire(const QString &serial, int waitMs, QString *error)
{
    QString why;
    const QString folder = userRuntimeFolder(&why);
    if (folder.isEmpty()) {
        // Refusing every command because someone planted a folder would hand
        // that someone the controller; work unguarded and say so, once.
        static std::atomic_flag warned;
        if (!warned.test_and_set()) {
            const QString text = QStringLiteral("No private folder for controller locks, working without them: %1").arg(why);
            if (unguardedNotice)
                unguardedNotice(text);
            else
                qCWarning(lcLock).noquote() << text;
        }
        return std::unique_ptr<ControllerLock>(new ControllerLock(nullptr));
    }
    auto lock = std::make_unique<FileLock>(QDir(folder).filePath(lockName(serial)));
    if (!lock->lock(waitMs, &why)) {
        *error = lock->holder().isEmpty()
            ? why
            : QStringLiteral("CORVANE %1 is in use by %2; try again when it is done.").arg(serial, lock->holder());
        return nullptr;
    }
    return std::unique_ptr<ControllerLock>(new ControllerLock(std::move(lock)));
}
