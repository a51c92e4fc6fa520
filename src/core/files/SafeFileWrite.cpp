#include "core/files/SafeFileWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many link levels as the kernel itself follows.
constexpr int MaxLinkDepth = 40;

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Callers show our texts as they are, so every one names the file, which the
// system's own ("No such file or directory") do not.
QString cannotWrite(const QString &path, const QString &why)
{
    return QStringLiteral("Cannot write %1: %2").arg(path, why);
}

struct Target
{
    QString path;                 // what is really replaced
    std::optional<struct stat> existing;
    QString problem;              // non-empty: do not write; names the file
};

Target resolve(const QString &path)
{
    Target t;
    t.path = path;
    for (int depth = 0;; ++depth) {
        struct stat st{};
        if (::lstat(QFile::encodeName(t.path).constData(), &st) != 0) {
            if (errno != ENOENT)
                t.problem = cannotWrite(path, systemError(errno));
            return t; // a new file (also where a dangling link points)
        }
        if (!S_ISLNK(st.st_mode)) {
            if (!S_ISREG(st.st_mode))
                t.problem = QStringLiteral("%1 is not a regular file; it is left as it is").arg(t.path);
            t.existing = st;
            return t;
        }
        if (depth == MaxLinkDepth) {
            t.problem = QStringLiteral("%1: too many levels of symbolic links").arg(path);
            return t;
        }
        t.path = QFileInfo(t.path).symLinkTarget();
    }
}

// The new file takes the old one's owner, group and mode before it takes
// its place. chown comes first: it may clear set-id bits that chmod restores.
QString keepOwnerAndMode(int fd, const struct stat &old, const QString &path)
{
    struct stat now{};
    if (::fstat(fd, &now) != 0)
        return cannotWrite(path, systemError(errno));
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return QStringLiteral("%1 belongs to another user or group; replacing it would change its owner").arg(path);
    if (::fchmod(fd, old.st_mode & 07777) != 0)
        return cannotWrite(path, systemError(errno));
    return {};
}

} // namespace

bool writeFileAtomically(const QString &path, QByteArrayView data, QString *error)
{
    // The caller reports the text; logging it here too would say it twice.
    auto fail = [&](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("No file name"));
    const Target target = resolve(path);
    if (!target.problem.isEmpty())
        return fail(target.problem);

    QSaveFile file(target.path);
    // Unbuffered: QSaveFile 6.4 commits a file whose buffered flush came up
    // short (disk full, size limit), so every byte must be accounted for
    // here, where a short write is still visible.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(cannotWrite(path, file.errorString()));
    // A short write is no error by itself; writing the rest again either
    // succeeds or reports the real cause (disk full, size limit).
    for (qsizetype done = 0; done < data.size();) {
        const qint64 n = file.write(data.data() + done, data.size() - done);
        if (n <= 0) {
            const QString why = file.errorString();
            file.cancelWriting();
            return fail(cannotWrite(path, why));
        }
        done += qsizetype(n);
    }
    if (target.existing) {
        const QString why = keepOwnerAndMode(file.handle(), *target.existing, target.path);
        if (!why.isEmpty()) {
            file.cancelWriting();
            return fail(why);
        }
    }
    // commit() ignores a failed sync; some file systems only report lost
    // data there.
    if (::fsync(file.handle()) != 0) {
        const QString why = systemError(errno);
        file.cancelWriting();
        return fail(cannotWrite(path, why));
    }
    if (!file.commit())
        return fail(cannotWrite(path, file.errorString()));
    return true;
}

QString keepAside(const QString &path, QString *error)
{
    const QByteArray from = QFile::encodeName(path);
    for (int i = 0; i < 1000; ++i) {
        const QString aside = path + QStringLiteral(".corrupt") + (i ? QStringLiteral(".%1").arg(i) : QString());
        const QByteArray to = QFile::encodeName(aside);
        // Refuses atomically where the name is taken, instead of replacing it.
        int rc = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
        if (rc != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // File systems without that flag: a hard link cannot replace either.
            rc = ::link(from.constData(), to.constData());
            if (rc == 0 && ::unlink(from.constData()) != 0) {
                const int saved = errno;
                ::unlink(to.constData());
                errno = saved;
                rc = -1;
            }
        }
        if (rc == 0)
            return aside;
        if (errno != EEXIST)
            break;
    }
    if (error)
        *error = QStringLiteral("Cannot move %1 aside: %2").arg(path, systemError(errno));
    return {};
}
