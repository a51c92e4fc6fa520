// One controller, one program at a time.
#include "QtPrinters.h"
#include "SimFixture.h"

#include "core/files/UserRuntimeFolder.h"
#include "device/SimUnit.h"
#include "session/ControllerLock.h"
#include "session/ControllerSession.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

TEST(ControllerLock, SecondHolderWaitsThenNamesTheFirst)
{
    QString error;
    auto first = ControllerLock::acquire(QStringLiteral("SIM0001"), 0, &error);
    ASSERT_TRUE(first) << error.toStdString();
    // Every version of both programs must agree on the name, so it is fixed;
    // serials that differ only in unsafe characters are held apart.
    EXPECT_TRUE(QFile::exists(QDir(userRuntimeFolder()).filePath(QStringLiteral("controller-SIM0001-704760f3.lock"))));
    auto slash = ControllerLock::acquire(QStringLiteral("SIM/1"), 0, &error);
    EXPECT_TRUE(slash && ControllerLock::acquire(QStringLiteral("SIM:1"), 0, &error)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(QDir(userRuntimeFolder()).filePath(QStringLiteral("controller-SIM_1-5e17725b.lock"))));
    EXPECT_FALSE(ControllerLock::acquire(QStringLiteral("SIM0001"), 30, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("process %1").arg(::getpid()))) << error.toStdString();
    EXPECT_TRUE(ControllerLock::acquire(QStringLiteral("SIM0002"), 0, &error)) << "another serial is free";
    first.reset();
    EXPECT_TRUE(ControllerLock::acquire(QStringLiteral("SIM0001"), 0, &error)) << error.toStdString();
}

TEST(UserRuntimeFolder, RefusesAFolderOthersMayWrite)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(isPrivateFolder(dir.path()));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::WriteOther
                                          | QFile::ExeOther);
    QString why;
    EXPECT_FALSE(isPrivateFolder(dir.path(), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("other users")));
    // The runtime folder named by the environment is only used when it is
    // private; then comes a folder in the home, where no one else can plant it.
    QTemporaryDir home;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    qputenv("HOME", QFile::encodeName(home.path()));
    EXPECT_EQ(userRuntimeFolder(), home.filePath(QStringLiteral(".cache/corvane-runtime")));
    EXPECT_TRUE(isPrivateFolder(userRuntimeFolder()));
}

TEST(ControllerLock, WithoutAPrivateFolderItWarnsOncePerProcess)
{
    static int warnings = 0;
    const char *names[] = {"XDG_RUNTIME_DIR", "HOME", "TMPDIR"};
    QByteArray saved[3];
    for (int i = 0; i < 3; ++i)
        saved[i] = qgetenv(names[i]), qputenv(names[i], "/nonexistent");
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) { ++warnings; });
    QString error;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(ControllerLock::acquire(QStringLiteral("SIM0001"), 0, &error));
    qInstallMessageHandler(previous);
    for (int i = 0; i < 3; ++i)
        qputenv(names[i], saved[i]);
    EXPECT_EQ(warnings, 1);
}
