// The installed corvane-cli against files that are not what they should be:
// a full disk, FIFOs, and several processes on one state file.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct ProcessRun {
    bool finished = false;
    int code = -1;
    QByteArray out;
    QByteArray err;
};

ProcessRun runCli(const QStringList &args, int timeoutMs = 20000)
{
    QProcess p;
    p.start(QStringLiteral(CORVANE_CLI_PATH), args);
    ProcessRun r;
    r.finished = p.waitForFinished(timeoutMs);
    if (!r.finished)
        p.kill();
    p.waitForFinished();
    r.code = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

bool makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool isFifo(const QString &path)
{
    struct stat st{};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

class CliFileFaults : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString file(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QStringList simulate(const QString &state) const
    {
        return {QStringLiteral("--simulate"), QStringLiteral("--simulate-state"), state};
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(CliFileFaults, FifosAreRefusedAtOnceAndLeftAsTheyAre)
{
    ASSERT_TRUE(makeFifo(file("state.json")));
    ASSERT_TRUE(makeFifo(file("profile.cvn")));

    ProcessRun r = runCli(simulate(file("state.json")) + QStringList{QStringLiteral("set"), QStringLiteral("BRIG=33")});
    ASSERT_TRUE(r.finished) << "hangs on a FIFO as state file";
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("not saved to " + QFile::encodeName(file("state.json")))) << r.err.constData();

    r = runCli(simulate(file("other.json")) + QStringList{QStringLiteral("load-profile"), file("profile.cvn")});
    ASSERT_TRUE(r.finished) << "hangs on a FIFO as profile";
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Cannot read " + QFile::encodeName(file("profile.cvn")) + ": not a regular file\n");

    EXPECT_TRUE(isFifo(file("state.json")));
    EXPECT_TRUE(isFifo(file("profile.cvn")));
}

// Each process changes another parameter of the same controller at the same
// time; the state file ends up with every change.
TEST_F(CliFileFaults, ConcurrentProcessesKeepEachOthersChanges)
{
    const QStringList changes{QStringLiteral("BRIG=33"), QStringLiteral("MIRR=1"), QStringLiteral("CPRO=1"),
                              QStringLiteral("COL0=0"), QStringLiteral("COL1=0"), QStringLiteral("KTIM=38451")};
    std::vector<std::unique_ptr<QProcess>> running;
    for (const QString &change : changes) {
        running.push_back(std::make_unique<QProcess>());
        running.back()->start(QStringLiteral(CORVANE_CLI_PATH),
                              simulate(file("state.json")) + QStringList{QStringLiteral("set"), change});
    }
    for (auto &p : running) {
        ASSERT_TRUE(p->waitForFinished(20000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().constData();
    }
    QStringList tags;
    for (const QString &change : changes)
        tags << change.section(QLatin1Char('='), 0, 0);
    const ProcessRun r = runCli(simulate(file("state.json")) + QStringList{QStringLiteral("get")} + tags);
    for (const QString &change : changes)
        EXPECT_TRUE(r.out.contains(change.toLatin1() + '\n')) << qPrintable(change) << "\n" << r.out.constData();
}

// A file system that is full: the change is reported as failed, naming the
// file, and the previous state survives. The small tmpfs is mounted in a
// mount namespace of its own, so nothing outside the test sees it.
TEST_F(CliFileFaults, FullDiskFailsTheCommandAndKeepsThePreviousState)
{
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    if (unshare.isEmpty())
        GTEST_SKIP() << "no unshare(1) to mount a small tmpfs";
    QProcess probe;
    probe.start(unshare, {QStringLiteral("-rm"), QStringLiteral("mount"), QStringLiteral("-t"), QStringLiteral("tmpfs"),
                          QStringLiteral("tmpfs"), dir.path()});
    if (!probe.waitForFinished(10000) || probe.exitCode() != 0)
        GTEST_SKIP() << "this machine does not allow mounting a tmpfs in a user namespace: "
                     << probe.readAllStandardError().constData();

    const QString script = QStringLiteral(R"(
        set -u
        mount -t tmpfs -o size=64k tmpfs "$1" || exit 90
        st="$1/st.json"
        "$2" --simulate --simulate-state "$st" set BRIG=20 >/dev/null || exit 91
        dd if=/dev/zero of="$1/filler" bs=4096 2>/dev/null
        "$2" --simulate --simulate-state "$st" set BRIG=33
        echo "rc=$?"
        "$2" --simulate --simulate-state "$st" get BRIG
    )");
    QProcess p;
    p.start(unshare, {QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"), script, QStringLiteral("sh"),
                      dir.path(), QStringLiteral(CORVANE_CLI_PATH)});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QByteArray out = p.readAllStandardOutput();
    const QByteArray err = p.readAllStandardError();
    ASSERT_EQ(p.exitCode(), 0) << err.constData();
    EXPECT_EQ(out, "BRIG=33\nrc=1\nBRIG=20\n") << err.constData();
    EXPECT_TRUE(err.contains("Simulated controller state not saved to " + QFile::encodeName(dir.path())
                             + "/st.json: "))
        << err.constData();
}

// Saving a profile over a file of another user: root keeps its owner, the
// user cannot take it over.
TEST_F(CliFileFaults, ProfileOfAnotherUserKeepsItsOwner)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as two users";
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty())
        GTEST_SKIP() << "no setpriv(1) to run as another user";
    // A folder both may write into, like a shared project folder.
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    const QString theirs = file("theirs.cvn");
    const QString mine = file("mine.cvn");
    const QByteArray old = "[GLOBAL]\nID=1\n";
    for (const QString &path : {theirs, mine}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(old);
    }
    ASSERT_EQ(::chown(QFile::encodeName(theirs).constData(), 65534, 65534), 0);
    // Even where the user may write into root's file, replacing it would make it the user's.
    ASSERT_EQ(::chmod(QFile::encodeName(mine).constData(), 0666), 0);

    ProcessRun r = runCli(simulate(file("state.json")) + QStringList{QStringLiteral("save-profile"), theirs});
    EXPECT_EQ(r.code, 0) << r.err.constData();
    struct stat st{};
    ASSERT_EQ(::stat(QFile::encodeName(theirs).constData(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u) << "root took the file over";

    QProcess p;
    p.start(setpriv, QStringList{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                                 QStringLiteral("--clear-groups"), QStringLiteral(CORVANE_CLI_PATH)}
                         + simulate(file("nobody.json")) + QStringList{QStringLiteral("save-profile"), mine});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(p.readAllStandardError().contains("belongs to another user"));
    ASSERT_EQ(::stat(QFile::encodeName(mine).constData(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
    QFile f(mine);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), old);
}

// "-" is the standard streams; a folder is never taken for a profile.
TEST_F(CliFileFaults, ProfilesThroughTheStandardStreamsAndNeverAFolder)
{
    const QStringList sim = simulate(file("state.json"));
    QByteArray text = runCli(sim + QStringList{"save-profile", "-"}).out;
    ASSERT_TRUE(text.startsWith("[GLOBAL]\nINFO=CORVANE CONFIGURATION FILE\n")) << text.constData();
    text.replace("BRIG=100", "BRIG=42");
    QProcess load;
    load.start(QStringLiteral(CORVANE_CLI_PATH), sim + QStringList{"load-profile", "-"});
    load.write(text);
    load.closeWriteChannel();
    ASSERT_TRUE(load.waitForFinished(20000));
    EXPECT_EQ(load.exitCode(), 0) << load.readAllStandardError().constData();
    EXPECT_EQ(runCli(sim + QStringList{"get", "BRIG"}).out, "BRIG=42\n");
    for (const char *command : {"save-profile", "load-profile"}) {
        const ProcessRun r = runCli(sim + QStringList{command, dir.path()});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, QFile::encodeName(dir.path()) + " is a folder\n");
    }
}
