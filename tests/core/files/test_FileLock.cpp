// Whoever waits in vain for a lock can say who holds it, even a program that
// writes nothing into the lock file.
#include "QtPrinters.h"
#include "core/files/FileLock.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(FileLock, TheHolderIsNamedByTheLockItself)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.lock"));
    QProcess other;
    other.start(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral(
        "import fcntl,sys; f=open(sys.argv[1],'a'); fcntl.lockf(f,fcntl.LOCK_EX); print(1,flush=True); sys.stdin.read()"),
        path});
    ASSERT_TRUE(other.waitForReadyRead(10000)) << "python3 is needed";
    FileLock lock(path);
    QString error;
    EXPECT_FALSE(lock.lock(30, &error));
    EXPECT_EQ(lock.holder(), QStringLiteral("python3 (process %1)").arg(other.processId()));
    EXPECT_EQ(error, QStringLiteral("Cannot lock %1: %2 holds it").arg(path, lock.holder()));
    other.closeWriteChannel();
    ASSERT_TRUE(other.waitForFinished(10000));
    EXPECT_TRUE(lock.lock(0, &error)) << qPrintable(error);
    EXPECT_TRUE(lock.lock(0, &error)) << "held already";
}

TEST(FileLock, ALockFileThatCannotBeUsedIsNoLock)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    for (const QString &name : {QStringLiteral("missing/x.lock"), QStringLiteral("folder")}) {
        FileLock lock(dir.filePath(name));
        QString error;
        EXPECT_FALSE(lock.lock(0, &error)) << qPrintable(name);
        EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot lock ") + dir.filePath(name))) << qPrintable(error);
        EXPECT_TRUE(lock.holder().isEmpty());
    }
}
