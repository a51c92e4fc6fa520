// One copy per user: hand-over to the first copy, recovery after a crash,
// and the cases where a first copy exists but does not answer.
#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <thread>
#include <poll.h>
#include <sys/wait.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A Unix socket bound at `path` by hand, as a crashed or hung copy leaves it.
class RawSocket
{
public:
    explicit RawSocket(const QString &path)
    {
        m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, QFile::encodeName(path).constData(), sizeof addr.sun_path - 1);
        m_bound = ::bind(m_fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
        m_addr = addr;
    }
    ~RawSocket()
    {
        for (int fd : m_clients)
            ::close(fd);
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool bound() const { return m_bound; }
    bool listen(int backlog) { return ::listen(m_fd, backlog) == 0; }
    // Closing without unlink leaves the file behind, like a crash.
    void close()
    {
        ::close(m_fd);
        m_fd = -1;
    }
    // Connects until the kernel refuses more: nothing accepts them.
    void fillBacklog()
    {
        for (int i = 0; i < 64; ++i) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
            m_clients.push_back(fd);
            if (::connect(fd, reinterpret_cast<sockaddr *>(&m_addr), sizeof m_addr) != 0)
                return;
        }
    }

private:
    int m_fd = -1;
    bool m_bound = false;
    sockaddr_un m_addr{};
    std::vector<int> m_clients;
};

// A connected client socket, as another program would open one.
int connectTo(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, QFile::encodeName(path).constData(), sizeof addr.sun_path - 1);
    return ::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0 ? fd : -1;
}

class SingleInstanceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_runtime.isValid());
        ASSERT_TRUE(m_tmp.isValid());
        save("XDG_RUNTIME_DIR", m_runtime.path());
        save("TMPDIR", m_tmp.path());
        // No home to fall back on: the temporary folder is what is left.
        save("HOME", m_tmp.filePath(QStringLiteral("no-home")));
    }
    void TearDown() override
    {
        for (const auto &[name, value] : m_saved) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }
    // The private folder used without a runtime folder.
    QString ownFolder() const { return m_tmp.filePath(QStringLiteral("corvane-%1").arg(::geteuid())); }
    static mode_t modeOf(const QString &path)
    {
        struct stat st{};
        ::lstat(QFile::encodeName(path).constData(), &st);
        return st.st_mode & 07777;
    }

    static const QString Key;
    QTemporaryDir m_runtime;
    QTemporaryDir m_tmp;

private:
    void save(const char *name, const QString &value)
    {
        m_saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        qputenv(name, QFile::encodeName(value));
    }
    std::vector<std::pair<const char *, std::optional<QByteArray>>> m_saved;
};

const QString SingleInstanceTest::Key = QStringLiteral("corvane-config-test");

} // namespace

TEST_F(SingleInstanceTest, FirstCopyListensInTheRuntimeFolderForItsUserOnly)
{
    SingleInstance first(Key);
    ASSERT_TRUE(first.tryToRun());
    EXPECT_TRUE(first.isListening());
    EXPECT_TRUE(first.serverName().startsWith(m_runtime.path() + u'/'));
    // Whatever the key, the socket is a plain ASCII name in that folder.
    EXPECT_EQ(QFileInfo(SingleInstance(QStringLiteral("a/../\u00e9 b-_.")).serverName()).fileName(),
              QStringLiteral("a_..___b-_..socket"));

    struct stat st{};
    ASSERT_EQ(::stat(QFile::encodeName(first.serverName()).constData(), &st), 0);
    EXPECT_TRUE(S_ISSOCK(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u) << "group or others could connect";
}

TEST_F(SingleInstanceTest, WithoutRuntimeFolderAPrivateFolderIsMade)
{
    qunsetenv("XDG_RUNTIME_DIR");
    SingleInstance first(Key);
    EXPECT_TRUE(first.serverName().startsWith(ownFolder() + u'/'));
    ASSERT_TRUE(first.tryToRun());
    EXPECT_EQ(modeOf(ownFolder()), 0700u);
    SingleInstance second(Key);
    EXPECT_FALSE(second.tryToRun());
}

TEST_F(SingleInstanceTest, FoldersOthersCouldWriteAreNeverUsed)
{
    // A runtime folder open to others is passed over for the private folder.
    ASSERT_EQ(::chmod(QFile::encodeName(m_runtime.path()).constData(), 0777), 0);
    EXPECT_TRUE(SingleInstance(Key).serverName().startsWith(ownFolder() + u'/'));

    // A private folder others may write leaves no safe place: run unguarded.
    for (const mode_t mode : {0770, 0703}) {
        ASSERT_EQ(::chmod(QFile::encodeName(ownFolder()).constData(), mode), 0);
        SingleInstance first(Key);
        EXPECT_TRUE(first.serverName().isEmpty());
        EXPECT_TRUE(first.errorString().contains(ownFolder() + QStringLiteral(" may be written by other users")))
            << qPrintable(first.errorString());
        EXPECT_TRUE(first.tryToRun());
        EXPECT_FALSE(first.isListening());
        EXPECT_TRUE(SingleInstance(Key).tryToRun());
        EXPECT_TRUE(QDir(ownFolder()).isEmpty());
    }
    if (::geteuid() == 0) {
        ASSERT_EQ(::chmod(QFile::encodeName(ownFolder()).constData(), 0700), 0);
        ASSERT_EQ(::chown(QFile::encodeName(ownFolder()).constData(), 65534, 65534), 0);
        EXPECT_TRUE(SingleInstance(Key).errorString().contains(QStringLiteral("belongs to another user")));
    }
}

// A listener another user placed where our socket belongs: it gets nothing
// and does not stop us, whether its socket file shows its owner or not.
TEST_F(SingleInstanceTest, ListenerOfAnotherUserIsNeverTrusted)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to listen as another user";
    const QString path = SingleInstance(Key).serverName();
    int ready[2], report[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(report), 0);
    // Passable for the other user, and its own folder open only while it binds.
    ASSERT_EQ(::chmod(QFile::encodeName(m_runtime.path()).constData(), 0711), 0);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).path());
    ASSERT_EQ(::chmod(folder.constData(), 0777), 0);
    const QByteArray name = QFile::encodeName(path);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Plain system calls only: the parent is multi-threaded.
        ::close(ready[0]);
        ::close(report[0]);
        ::signal(SIGPIPE, SIG_IGN); // a report the parent no longer reads must not kill us
        if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0)
            ::_exit(1);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, name.constData(), sizeof addr.sun_path - 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 || ::listen(fd, 8) != 0)
            ::_exit(2);
        char one = 1;
        (void)!::write(ready[1], &one, 1);
        long got = 0;
        for (;;) { // until the parent closes the pipe
            pollfd fds[2] = {{fd, POLLIN, 0}, {report[1], POLLERR, 0}};
            if (::poll(fds, 2, -1) < 0 || fds[1].revents)
                ::_exit(0);
            const int c = ::accept(fd, nullptr, nullptr);
            char buf[256];
            for (ssize_t n; c >= 0 && (n = ::read(c, buf, sizeof buf)) > 0;)
                got += n;
            (void)!::write(report[1], &got, sizeof got);
        }
    }
    ::close(ready[1]);
    ::close(report[1]);
    char one = 0;
    ASSERT_EQ(::read(ready[0], &one, 1), 1);
    ASSERT_EQ(::chmod(folder.constData(), 0700), 0);

    for (bool ownerShown : {true, false}) {
        if (!ownerShown) { // only the peer's credentials tell now
            ASSERT_EQ(::lchown(name.constData(), 0, 0), 0);
        }
        SingleInstance second(Key);
        EXPECT_TRUE(second.tryToRun({QStringLiteral("secret")}));
        EXPECT_FALSE(second.isListening());
        EXPECT_TRUE(second.errorString().contains(QStringLiteral("Another user's program"))) << ownerShown;
    }
    // Every connection the listener saw brought it no byte.
    ASSERT_EQ(::fcntl(report[0], F_SETFL, O_NONBLOCK), 0);
    for (long got = 0; ::read(report[0], &got, sizeof got) == sizeof got;)
        EXPECT_EQ(got, 0);
    ::close(report[0]); // ends the child
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// Two copies started at the same instant: the one that finds the start-up
// lock taken waits for its twin to listen and hands over, rather than
// replacing the twin's fresh socket and running too.
TEST_F(SingleInstanceTest, ATwinStillStartingIsWaitedForAndReached)
{
    SingleInstance candidate(Key);
    QLockFile twinStarting(candidate.serverName() + QStringLiteral(".lock"));
    ASSERT_TRUE(twinStarting.tryLock(0));
    std::optional<RawSocket> twin;
    std::thread twinListens([&] {
        QThread::msleep(100);
        twin.emplace(candidate.serverName());
        twin->listen(4);
        twinStarting.unlock();
    });
    EXPECT_FALSE(candidate.tryToRun());
    twinListens.join();
    EXPECT_FALSE(candidate.isListening());
}

TEST_F(SingleInstanceTest, EveryLaterCopyHandsItsArgumentsToTheFirst)
{
    SingleInstance first(Key);
    ASSERT_TRUE(first.tryToRun({QStringLiteral("corvane-config")}));
    QSignalSpy activated(&first, &SingleInstance::activated);

    const QList<QStringList> handed{
        {QStringLiteral("corvane-config"), QStringLiteral("--simulate"), QString(), QStringLiteral("Grüße ✓")},
        {QStringLiteral("1")},
        {QStringLiteral("2")}};
    for (const QStringList &args : handed) {
        SingleInstance later(Key);
        EXPECT_FALSE(later.tryToRun(args));
        EXPECT_FALSE(later.isListening());
    }
    for (int tries = 0; activated.size() < 3 && tries < 20; ++tries)
        activated.wait(100);
    ASSERT_EQ(activated.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(activated.at(i).at(0).toStringList(), handed[i]);
}

TEST_F(SingleInstanceTest, OversizedArgumentsAreCutToWholeOnes)
{
    SingleInstance first(Key);
    ASSERT_TRUE(first.tryToRun());
    QSignalSpy activated(&first, &SingleInstance::activated);

    const QString big(SingleInstance::MaxMessageBytes / 2, u'x');
    SingleInstance second(Key);
    EXPECT_FALSE(second.tryToRun({QStringLiteral("a"), big, big, QStringLiteral("b")}));
    ASSERT_TRUE(activated.wait(2000));
    EXPECT_EQ(activated.at(0).at(0).toStringList(), (QStringList{QStringLiteral("a"), big}));
}

// What a copy that is gone leaves in the socket's place is replaced.
TEST_F(SingleInstanceTest, WhatAnEndedCopyLeftIsReplaced)
{
    const QString path = SingleInstance(Key).serverName();
    const std::function<void()> leftBehind[] = {
        [&] { // a copy that ended properly removes its socket
            {
                SingleInstance ended(Key);
                ASSERT_TRUE(ended.tryToRun());
            }
            EXPECT_FALSE(QFile::exists(path));
        },
        [&] { // a crash leaves a socket no one listens on
            RawSocket crashed(path);
            ASSERT_TRUE(crashed.bound());
            crashed.close();
        },
        [&] { // a plain file
            QFile junk(path);
            ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        },
    };
    for (const auto &leave : leftBehind) {
        leave();
        SingleInstance first(Key);
        EXPECT_TRUE(first.tryToRun());
        EXPECT_TRUE(first.isListening());
        EXPECT_FALSE(SingleInstance(Key).tryToRun());
    }
}

// A copy that listens but never accepts, or whose queue is full, is alive:
// its socket stays and the later copy ends, in bounded time.
TEST_F(SingleInstanceTest, AHungFirstCopyKeepsItsSocketAndTheLaterOneStillEnds)
{
    const QString path = SingleInstance(Key).serverName();
    for (const bool queueFull : {false, true}) {
        RawSocket hung(path);
        ASSERT_TRUE(hung.bound());
        ASSERT_TRUE(hung.listen(queueFull ? 0 : 4)); // never accepts, never reads
        if (queueFull)
            hung.fillBacklog();

        QElapsedTimer clock;
        clock.start();
        SingleInstance second(Key);
        EXPECT_FALSE(second.tryToRun({QStringLiteral("x")})) << queueFull;
        EXPECT_LT(clock.elapsed(), 10 * SingleInstance::TimeoutMs) << "waited unbounded";
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_FALSE(second.isListening());
        ASSERT_EQ(::unlink(QFile::encodeName(path).constData()), 0);
    }
}

TEST_F(SingleInstanceTest, MalformedClientsAreDroppedAndLaterCopiesStillServed)
{
    SingleInstance first(Key);
    ASSERT_TRUE(first.tryToRun());
    QSignalSpy activated(&first, &SingleInstance::activated);

    const int liar = connectTo(first.serverName());
    ASSERT_GE(liar, 0);
    QByteArray header(4, '\0');
    qToBigEndian(quint32(SingleInstance::MaxMessageBytes + 1), header.data());
    const QByteArray lie = header + QByteArray(100, 'x');
    ASSERT_EQ(::write(liar, lie.constData(), size_t(lie.size())), lie.size());
    const int silent = connectTo(first.serverName());
    ASSERT_GE(silent, 0);

    SingleInstance second(Key);
    EXPECT_FALSE(second.tryToRun({QStringLiteral("ok")}));
    ASSERT_TRUE(activated.wait(2000));
    EXPECT_EQ(activated.size(), 1);
    EXPECT_EQ(activated.at(0).at(0).toStringList(), QStringList{QStringLiteral("ok")});
    // The silent client is cut off after a while rather than kept forever.
    QDeadlineTimer deadline(10 * SingleInstance::TimeoutMs);
    char byte = 0;
    while (::recv(silent, &byte, 1, MSG_DONTWAIT) < 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(::recv(silent, &byte, 1, MSG_DONTWAIT), 0) << "still connected";
    ::close(liar);
    ::close(silent);
}
