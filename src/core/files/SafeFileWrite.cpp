#include "core/files/SafeFileWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many link levels as the kernel itself follows.
constexpr int MaxLinkDepth = 40;
// A temporary file untouched this long is no write in progress: ours take
// milliseconds.
constexpr time_t StaleTemporarySeconds = 60;

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

// Writes the whole buffer: a short write is no error by itself, and writing
// the rest again either succeeds or reports the real cause (disk full, size
// limit).
QString writeAll(int fd, QByteArrayView data, const QString &path)
{
    for (qsizetype done = 0; done < data.size();) {
        const ssize_t n = ::write(fd, data.data() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return cannotWrite(path, systemError(n < 0 ? errno : EIO));
        done += qsizetype(n);
    }
    return {};
}

// "<target>.corvane-XXXXXX.tmp": a pattern no user file is likely to have,
// so a stale one can be told from anything else in the folder.
QByteArray temporaryPrefix(const QByteArray &target)
{
    return target + ".corvane-";
}
constexpr qsizetype TagLength = 6;
constexpr char TemporarySuffix[] = ".tmp";

// Created exclusively and locked while it is written, so that a cleaner
// never takes a write in progress for a leftover.
int createTemporary(const QByteArray &target, QByteArray *name)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray tag(TagLength, Qt::Uninitialized);
        for (char &c : tag)
            c = letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
        *name = temporaryPrefix(target) + tag + TemporarySuffix;
        const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX | LOCK_NB);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

bool isStaleTemporary(int dirFd, const char *name)
{
    const int fd = ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st{};
    const bool stale = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)
        && ::time(nullptr) - st.st_mtime > StaleTemporarySeconds && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return stale;
}

// What a writer killed between creating its temporary file and renaming it
// left beside the target.
void removeStaleTemporaries(const QByteArray &target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    const QByteArray prefix = temporaryPrefix(target.mid(slash + 1));
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (name.size() == prefix.size() + TagLength + qsizetype(sizeof TemporarySuffix - 1)
            && name.startsWith(prefix) && name.endsWith(TemporarySuffix) && isStaleTemporary(::dirfd(dir), entry->d_name))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

int (*fileSync)(int) = ::fdatasync;

// The new content into a temporary file beside the target, which then takes
// the target's place. Returns why not, or an empty text.
QString replace(const Target &target, const QString &path, QByteArrayView data)
{
    const QByteArray native = QFile::encodeName(target.path);
    QByteArray temporary;
    const int fd = createTemporary(native, &temporary);
    if (fd < 0)
        return cannotWrite(path, systemError(errno));
    QString why = writeAll(fd, data, path);
    if (why.isEmpty() && target.existing)
        why = keepOwnerAndMode(fd, *target.existing, target.path);
    // The one sync of the write, checked: some file systems report lost
    // data only here.
    if (why.isEmpty() && fileSync(fd) != 0)
        why = cannotWrite(path, systemError(errno));
    if (why.isEmpty() && ::rename(temporary.constData(), native.constData()) != 0)
        why = cannotWrite(path, systemError(errno));
    if (!why.isEmpty())
        ::unlink(temporary.constData());
    ::close(fd);
    return why;
}

} // namespace

FileSync setFileSync(FileSync sync)
{
    return std::exchange(fileSync, sync);
}

bool writeFileAtomically(const QString &path, QByteArrayView data, QString *error)
{
    const Target target = path.isEmpty() ? Target{{}, {}, QStringLiteral("No file name")} : resolve(path);
    const QString why = target.problem.isEmpty() ? replace(target, path, data) : target.problem;
    if (!why.isEmpty()) {
        // The caller reports the text; logging it here too would say it twice.
        if (error)
            *error = why;
        return false;
    }
    removeStaleTemporaries(QFile::encodeName(target.path));
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
