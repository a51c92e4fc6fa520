// Reading and replacing files by name: only regular files of bounded size are
// read, nothing blocks, and a replacement keeps what the file was.
#include "core/files/IniFile.h"
#include "core/files/SafeFileRead.h"
#include "core/files/SafeFileWrite.h"

#include "TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

class SafeFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    static struct stat statOf(const QString &p)
    {
        struct stat st{};
        ::lstat(QFile::encodeName(p).constData(), &st);
        return st;
    }
    QTemporaryDir dir;
};

TEST_F(SafeFileTest, OnlyRegularFilesOfBoundedSizeAreRead)
{
    ASSERT_TRUE(putFile(path("small"), "12345"));
    EXPECT_EQ(readRegularFile(path("small"), 5).data, "12345");
    const FileRead big = readRegularFile(path("small"), 4);
    EXPECT_FALSE(big.ok());
    EXPECT_TRUE(big.data.isEmpty());
    EXPECT_TRUE(big.error.contains(path("small"))) << qPrintable(big.error);
    // Reported size 0, real content: read up to the bound all the same, and
    // refused past it rather than cut short; a resource knows its size.
    const QString unsized = QStringLiteral("/proc/self/cmdline");
    const QByteArray whole = readRegularFile(unsized, 1 << 20).data;
    ASSERT_FALSE(whole.isEmpty());
    EXPECT_EQ(readRegularFile(unsized, whole.size()).data, whole);
    EXPECT_EQ(readRegularFile(unsized, whole.size() - 1).status, FileRead::Status::Refused);
    Q_INIT_RESOURCE(i18n);
    const QString resource = QStringLiteral(":/i18n/VOXTRALANGZUSAETZE");
    EXPECT_TRUE(readRegularFile(resource, QFileInfo(resource).size()).ok());
    EXPECT_FALSE(readRegularFile(resource, QFileInfo(resource).size() - 1).ok());

    EXPECT_TRUE(readRegularFile(path("absent"), 10).missing());
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QElapsedTimer clock;
    clock.start();
    for (const QString &p : {path("fifo"), path("folder"), QStringLiteral("/dev/null")}) {
        const FileRead r = readRegularFile(p, 10);
        EXPECT_EQ(r.status, FileRead::Status::Refused) << qPrintable(p);
        EXPECT_EQ(r.error, QStringLiteral("Cannot read %1: not a regular file").arg(p));
    }
    EXPECT_LT(clock.elapsed(), 1000) << "a FIFO without writer must not block";
}

TEST_F(SafeFileTest, ReplacingFollowsTheLinkAndKeepsTheMode)
{
    ASSERT_TRUE(putFile(path("target.ini"), "[A]\nK=1\n"));
    ASSERT_EQ(::chmod(QFile::encodeName(path("target.ini")).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("target.ini"), path("link.ini")));

    IniFile ini;
    ASSERT_TRUE(ini.open(path("link.ini")));
    EXPECT_EQ(ini.readInt("A", "K", 0), 1);
    ini.writeInt("A", "K", 2);
    ASSERT_TRUE(ini.save()) << qPrintable(ini.errorString());
    EXPECT_TRUE(S_ISLNK(statOf(path("link.ini")).st_mode));
    EXPECT_EQ(fileBytes(path("target.ini")), "[A]\nK=2\n");
    EXPECT_EQ(statOf(path("target.ini")).st_mode & 07777, 0640u);
}

TEST_F(SafeFileTest, RootKeepsTheOwnerOfAnotherUsersFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root may give a file to another user";
    ASSERT_TRUE(putFile(path("theirs.ini"), "[A]\nK=1\n"));
    ASSERT_EQ(::chown(QFile::encodeName(path("theirs.ini")).constData(), 65534, 65534), 0);
    QString error;
    ASSERT_TRUE(writeFileAtomically(path("theirs.ini"), "[A]\nK=2\n", &error)) << qPrintable(error);
    EXPECT_EQ(statOf(path("theirs.ini")).st_uid, 65534u);
    EXPECT_EQ(statOf(path("theirs.ini")).st_gid, 65534u);
}

TEST_F(SafeFileTest, WhatIsNoRegularFileIsNotReplaced)
{
    QString error;
    EXPECT_FALSE(writeFileAtomically(QStringLiteral("/dev/null"), "x", &error));
    EXPECT_EQ(error, QStringLiteral("/dev/null is not a regular file; it is left as it is"));
    EXPECT_TRUE(S_ISCHR(statOf(QStringLiteral("/dev/null")).st_mode));
}

TEST_F(SafeFileTest, SaveNeverDropsWhatTheReaderCouldNotKeep)
{
    const std::pair<QByteArray, const char *> lossy[] = {
        {"[A]\nK=1\nnot a setting\n", "line 3 is no INI line"},
        {"[A] note\nK=1\n", "line 1 holds text after a section name"},
        {"[A\nK=1\n", "line 1 is no INI line"},
        {"[A]\nK=1\n; last words\n\n", "the comment in line 3 ends the file"},
        {"[A]\nK=1\nk=2\n", "Key k is given twice in section A"},
        {QByteArray("[A]\nK=1\0\n", 9), "Key K holds a NUL byte"},
    };
    for (const auto &[text, why] : lossy) {
        ASSERT_TRUE(putFile(path("x.ini"), text));
        IniFile ini;
        ASSERT_TRUE(ini.open(path("x.ini")));
        ini.writeInt("A", "NEW", 1);
        EXPECT_FALSE(ini.save()) << text.constData();
        EXPECT_EQ(ini.errorString(), QStringLiteral("%1 is not overwritten: %2").arg(path("x.ini"), QLatin1String(why)));
        EXPECT_EQ(fileBytes(path("x.ini")), text);
    }
    // Comments that lead a section or a key, blank lines and CR LF survive.
    ASSERT_TRUE(putFile(path("x.ini"), "; head\r\n\r\n[A]\r\n# about K\r\n K = 1 \r\n[B]\r\nK=2\r\n"));
    IniFile ini;
    ASSERT_TRUE(ini.open(path("x.ini")));
    ini.writeInt("A", "NEW", 1);
    ASSERT_TRUE(ini.save()) << qPrintable(ini.errorString());
    EXPECT_EQ(fileBytes(path("x.ini")), QByteArray("; head\n\n[A]\n\n# about K\nK=1\nNEW=1\n\n[B]\nK=2\n"));
}

TEST_F(SafeFileTest, OneCheckedSyncPerWriteAndAFailedWriteKeepsTheOldFile)
{
    static int syncs = 0;
    static int result = 0;
    const FileSync previous = setFileSync([](int) { return ++syncs, errno = EIO, result; });
    ASSERT_TRUE(putFile(path("p.cvn"), "old"));
    struct Case { QString target; rlim_t sizeLimit; int syncResult; int syncs; bool written; };
    const Case cases[] = {{path("p.cvn"), RLIM_INFINITY, -1, 1, false}, {path("p.cvn"), 2, 0, 0, false},
                          {path("no/p.cvn"), RLIM_INFINITY, 0, 0, false}, {path("p.cvn"), RLIM_INFINITY, 0, 1, true}};
    for (const auto &[target, sizeLimit, syncResult, expectedSyncs, expectWritten] : cases) {
        syncs = 0;
        result = syncResult;
        QString error;
        bool written = false;
        {
            FileSizeLimit limit(sizeLimit);
            written = writeFileAtomically(target, "new", &error);
        }
        EXPECT_EQ(written, expectWritten) << qPrintable(error);
        EXPECT_TRUE(written || error.startsWith(QStringLiteral("Cannot write %1: ").arg(target))) << qPrintable(error);
        EXPECT_EQ(syncs, expectedSyncs);
        EXPECT_EQ(fileBytes(path("p.cvn")), written ? "new" : "old");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("p.cvn")});
    }
    setFileSync(previous);
}

TEST_F(SafeFileTest, StaleTemporariesOfTheTargetAreRemovedLiveOnesKept)
{
    const std::tuple<const char *, int, bool> leftovers[] = { // name, age in seconds, kept
        {"p.cvn.corvane-Ab3dE9.tmp", 61, false}, {"p.cvn.corvane-Xy7kL2.tmp", 59, true},
        {"p.cvn.corvane-Held01.tmp", 3600, true}, {"q.cvn.corvane-Ab3dE9.tmp", 3600, true},
        {"p.cvn.corvane-Ab3dE.tmp", 3600, true},  {"p.cvn.Ab3dE9", 3600, true}};
    for (const auto &[name, age, kept] : leftovers) {
        ASSERT_TRUE(putFile(path(name), "part"));
        const timespec then[2] = {{::time(nullptr) - age, 0}, {::time(nullptr) - age, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path(name)).constData(), then, 0), 0);
    }
    // A link is never taken for a leftover of ours, wherever it points.
    ASSERT_TRUE(QFile::link(QStringLiteral("nowhere"), path("p.cvn.corvane-Link01.tmp")));
    const int writer = ::open(QFile::encodeName(path("p.cvn.corvane-Held01.tmp")).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    QString error;
    ASSERT_TRUE(writeFileAtomically(path("p.cvn"), "new", &error)) << qPrintable(error);
    for (const auto &[name, age, kept] : leftovers)
        EXPECT_EQ(QFileInfo::exists(path(name)), kept) << name;
    EXPECT_TRUE(QFileInfo(path("p.cvn.corvane-Link01.tmp")).isSymLink());
    ::close(writer);
}
