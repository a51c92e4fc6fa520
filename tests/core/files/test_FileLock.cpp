// Programs take turns through a lock file, and whoever waits in vain can
// always say who holds it.
#include "QtPrinters.h"
#include "core/files/FileLock.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

TEST(FileLock, TheHolderIsNamedWhereverItIs)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.lock"));
    // Another program that takes the lock and writes nothing into the file.
    QProcess other;
    other.start(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral(
        "import fcntl,sys; f=open(sys.argv[1],'a'); fcntl.lockf(f,fcntl.LOCK_EX); print(1,flush=True); sys.stdin.read()"),
        path});
    ASSERT_TRUE(other.waitForReadyRead(10000)) << "python3 is needed";

    FileLock first(path);
    QString error;
    EXPECT_FALSE(first.lock(30, &error));
    EXPECT_EQ(first.holder(), QStringLiteral("python3 (process %1)").arg(other.processId()));
    EXPECT_EQ(error, QStringLiteral("Cannot lock %1: %2 holds it").arg(path, first.holder()));
    other.closeWriteChannel();
    ASSERT_TRUE(other.waitForFinished(10000));
    ASSERT_TRUE(first.lock(0, &error)) << qPrintable(error);

    FileLock second(path);
    EXPECT_FALSE(second.lock(30, &error));
    EXPECT_EQ(second.holder(), QStringLiteral("%1 (process %2)").arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName()).arg(::getpid()));
    first.unlock();
    EXPECT_TRUE(second.lock(0, &error));

    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    FileLock notAFile(fifo);
    EXPECT_FALSE(notAFile.lock(0, &error));
    EXPECT_EQ(error, QStringLiteral("Cannot lock %1: not a regular file").arg(fifo));
    EXPECT_TRUE(notAFile.holder().isEmpty());
}
