#include "core/files/UserRuntimeFolder.h"

#include <QDir>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Creates `path` 0700 unless it exists; then it must pass the checks.
bool privateFolder(const QString &path, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) {
        if (error)
            *error = QStringLiteral("cannot create %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    return isPrivateFolder(path, error);
}

} // namespace

bool isPrivateFolder(const QString &path, QString *why)
{
    struct stat st {};
    const auto fail = [&](const QString &reason) {
        if (why)
            *why = QStringLiteral("%1 %2").arg(path, reason);
        return false;
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return fail(QStringLiteral("cannot be examined: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    if (!S_ISDIR(st.st_mode))
        return fail(QStringLiteral("is not a folder"));
    if (st.st_uid != ::getuid())
        return fail(QStringLiteral("belongs to another user"));
    if (st.st_mode & (S_IWGRP | S_IWOTH))
        return fail(QStringLiteral("may be written by other users"));
    return true;
}

QString userRuntimeFolder(QString *error)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    // Under "sudo -E" the variable still names the invoking user's folder.
    if (!runtime.isEmpty() && isPrivateFolder(runtime)) {
        const QString folder = QDir(runtime).filePath(QStringLiteral("corvane"));
        if (privateFolder(folder, error))
            return folder;
    }
    // Without one, a folder in the home, where no other user can plant it
    // first; the shared temporary folder only as the last resort.
    const QString home = QDir::homePath();
    if (isPrivateFolder(home)) {
        const QString cache = QDir(home).filePath(QStringLiteral(".cache"));
        const QString folder = QDir(cache).filePath(QStringLiteral("corvane-runtime"));
        if (::mkdir(QFile::encodeName(cache).constData(), 0700) == 0 || errno == EEXIST) {
            if (privateFolder(folder, error))
                return folder;
        }
    }
    // Qt names no folder when TMPDIR names a missing one; a relative name
    // would put the folder wherever the program was started.
    const QString temp = QDir::tempPath();
    const QString fallback = QDir(temp).filePath(QStringLiteral("corvane-%1").arg(::getuid()));
    if (QDir::isAbsolutePath(temp) && privateFolder(fallback, error))
        return fallback;
    if (error && !QDir::isAbsolutePath(temp))
        *error = QStringLiteral("no temporary folder");
    return {};
}
