// The program as a user starts it: one process, a second copy, SIGTERM.

#include "core/files/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>

namespace {

class ProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // A copy of its own, so the settings file lands beside it.
        exe = dir.filePath(QStringLiteral("corvane-config"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(CORVANE_CONFIG_EXE), exe));
        QDir(dir.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(dir.filePath(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner
                                                                           | QFile::ExeOwner);
    }

    void launch(QProcess &p, const QStringList &args, const std::function<void(QProcessEnvironment &)> &tweak = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("CORVANE_BENCH_STARTUP"), QStringLiteral("1"));
        if (tweak)
            tweak(env);
        p.setProcessEnvironment(env);
        p.setReadChannel(QProcess::StandardError);
        p.start(exe, args);
        ASSERT_TRUE(p.waitForStarted(5000));
    }

    // Standard error until the editor is filled (or the process ends).
    static QByteArray waitForEditor(QProcess &p)
    {
        QByteArray err;
        while (!err.contains("editor filled") && p.state() == QProcess::Running) {
            if (p.waitForReadyRead(10000))
                err += p.readAllStandardError();
            else
                break;
        }
        return err;
    }

    QString settingsPath() const { return dir.filePath(QString::fromLatin1(SettingsFile::FileName)); }

    QTemporaryDir dir;
    QString exe;
};

TEST_F(ProgramTest, TracesTheOpeningAndSigtermWritesTheSettings)
{
    QProcess p;
    launch(p, {QStringLiteral("--simulate"), QStringLiteral("--trace")});
    QByteArray err = waitForEditor(p);
    ASSERT_TRUE(err.contains("editor filled after")) << err.constData();
    EXPECT_TRUE(err.contains("> 03 00 E3 "));
    EXPECT_TRUE(err.contains("> 03 00 E5 "));
    EXPECT_EQ(err.count("> 03 06 EC "), 21);
    EXPECT_FALSE(QFile::exists(settingsPath()));

    p.terminate(); // SIGTERM
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_EQ(SettingsFile(settingsPath()).readConfig().device, "SIM0001");
    EXPECT_TRUE(SettingsFile(settingsPath()).readPlacement().normPos.has_value());
}

TEST_F(ProgramTest, SecondCopyEndsWithoutTouchingTheSettings)
{
    QProcess first;
    launch(first, {QStringLiteral("--simulate")});
    ASSERT_TRUE(waitForEditor(first).contains("editor filled"));

    QProcess second;
    launch(second, {QStringLiteral("--simulate"), QStringLiteral("ignored-argument")});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(second.readAllStandardError().contains("editor filled"));
    EXPECT_FALSE(QFile::exists(settingsPath()));

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_TRUE(QFile::exists(settingsPath()));
}

TEST_F(ProgramTest, FifoAsSettingsFileNeitherStopsTheWindowNorIsReplaced)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(settingsPath()).constData(), 0600), 0);
    QProcess p;
    launch(p, {QStringLiteral("--simulate")});
    const QByteArray err = waitForEditor(p);
    ASSERT_TRUE(err.contains("editor filled after")) << err.constData();
    p.terminate();
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);
    const QByteArray rest = err + p.readAllStandardError();
    EXPECT_TRUE(rest.contains("Cannot read " + QFile::encodeName(settingsPath()) + ": not a regular file"))
        << rest.constData();
    struct stat st{};
    ASSERT_EQ(::lstat(QFile::encodeName(settingsPath()).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// Another user made the folders our socket and locks would go to (without a
// runtime folder, with a home that is not ours): they are not used, and the
// program still starts, stays, and opens its controller.
TEST_F(ProgramTest, SocketFolderOfAnotherUserDoesNotStopTheWindow)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make a folder of another user";
    const QString tmp = dir.filePath(QStringLiteral("tmp"));
    const QString theirs = tmp + QStringLiteral("/corvane-%1").arg(::geteuid());
    ASSERT_TRUE(QDir().mkpath(theirs));
    ASSERT_EQ(::chmod(QFile::encodeName(tmp).constData(), 01777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(theirs).constData(), 0777), 0);
    ASSERT_EQ(::chown(QFile::encodeName(theirs).constData(), 65534, 65534), 0);
    const QString home = dir.filePath(QStringLiteral("home"));
    ASSERT_TRUE(QDir().mkpath(home));
    ASSERT_EQ(::chown(QFile::encodeName(home).constData(), 65534, 65534), 0);

    QProcess p;
    launch(p, {QStringLiteral("--simulate")}, [&tmp, &home](QProcessEnvironment &env) {
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.insert(QStringLiteral("TMPDIR"), tmp);
        env.insert(QStringLiteral("HOME"), home);
    });
    // The controller is opened: a planted lock folder does not keep it away.
    QByteArray err = waitForEditor(p);
    EXPECT_TRUE(err.contains("editor filled")) << err.constData();
    // Running on, not handed over: a copy that found "another copy" ends at once.
    EXPECT_FALSE(p.waitForFinished(1000));
    err += p.readAllStandardError();
    EXPECT_TRUE(err.contains("No private folder for the single-instance socket")) << err.constData();
    p.terminate();
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(QDir(theirs).isEmpty());
}

} // namespace
