#include "app/SingleInstance.h"

#include "app/InstanceMessage.h"
#include "core/files/UserRuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <functional>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstance, "corvane.app.instance")

namespace {

// sockaddr_un holds 108 bytes; keep well clear of it.
constexpr qsizetype kMaxSocketPath = 100;

QString safeKey(const QString &key)
{
    QString out;
    for (const QChar c : key)
        out += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'-' || c == u'_' || c == u'.' ? c : QChar(u'_');
    return out.isEmpty() ? QStringLiteral("instance") : out;
}

// Only in a folder of this user that nobody else may write, so no one else
// can put a listener there or replace ours.
QString socketPath(const QString &key, QString *error)
{
    QString why;
    const QString folder = userRuntimeFolder(&why);
    if (folder.isEmpty()) {
        *error = QStringLiteral("No private folder for the single-instance socket (%1)").arg(why);
        return {};
    }
    const QString path = QDir(folder).filePath(safeKey(key) + QStringLiteral(".socket"));
    if (QFile::encodeName(path).size() > kMaxSocketPath) {
        *error = QStringLiteral("%1 is too long for a socket").arg(path);
        return {};
    }
    return path;
}

sockaddr_un addressOf(const QString &path)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path); // fits: checked by socketPath
    std::memcpy(addr.sun_path, name.constData(), size_t(name.size()));
    return addr;
}

bool peerIsThisUser(int fd)
{
    ucred cred{};
    socklen_t size = sizeof cred;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &size) == 0 && cred.uid == ::geteuid();
}

// A socket file someone else made (even root) is never taken for ours.
bool ownedByAnotherUser(const QString &path)
{
    struct stat st{};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && st.st_uid != ::geteuid();
}

// Connecting waits at most this long for room in a listener's queue, and
// each write at most this long for room in the socket.
void limitWaits(int fd, int ms)
{
    const timeval limit{ms / 1000, (ms % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

bool sendAll(int fd, const QByteArray &bytes)
{
    for (qsizetype sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n > 0)
            sent += n;
        else if (errno != EINTR)
            return false;
    }
    return true;
}

// A later copy's connection, read until its message is whole. One that
// sends too much, hangs up early or never finishes is dropped.
class Caller : public QObject
{
public:
    using Handler = std::function<void(const QStringList &)>;

    Caller(int fd, Handler onMessage, QObject *parent)
        : QObject(parent)
        , m_fd(fd)
        , m_notifier(fd, QSocketNotifier::Read, this)
        , m_onMessage(std::move(onMessage))
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, &Caller::readMore);
        QTimer::singleShot(4 * SingleInstance::TimeoutMs, this, [this] { drop("Another copy did not finish its message"); });
    }
    ~Caller() override
    {
        m_notifier.setEnabled(false);
        ::close(m_fd);
    }

private:
    void readMore()
    {
        constexpr qsizetype most = InstanceMessage::HeaderBytes + InstanceMessage::MaxPayloadBytes;
        bool hungUp = false;
        while (m_received.size() < most) {
            char buf[4096];
            const ssize_t n = ::recv(m_fd, buf, size_t(std::min<qsizetype>(sizeof buf, most - m_received.size())),
                                     MSG_DONTWAIT);
            if (n > 0) {
                m_received.append(buf, n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            hungUp = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
            break;
        }
        QStringList arguments;
        switch (InstanceMessage::decode(m_received, &arguments)) {
        case InstanceMessage::Status::Incomplete:
            if (hungUp)
                drop("Another copy hung up before its message was whole");
            return;
        case InstanceMessage::Status::Oversized:
            drop("Oversized message from another copy dropped");
            return;
        case InstanceMessage::Status::Complete:
            finish();
            m_onMessage(arguments);
            return;
        }
    }

    void drop(const char *why)
    {
        qCWarning(lcInstance) << why;
        finish();
    }

    void finish()
    {
        m_notifier.setEnabled(false);
        ::shutdown(m_fd, SHUT_RDWR);
        deleteLater();
    }

    int m_fd;
    QSocketNotifier m_notifier;
    Handler m_onMessage;
    QByteArray m_received;
};

} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent)
{
    m_serverName = socketPath(key, &m_error);
    if (!m_serverName.isEmpty())
        m_lockPath = m_serverName + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance()
{
    if (m_listener < 0)
        return;
    delete m_notifier;
    ::close(m_listener);
    ::unlink(QFile::encodeName(m_serverName).constData());
}

bool SingleInstance::tryToRun(const QStringList &arguments)
{
    if (isListening())
        return true;
    if (m_serverName.isEmpty()) {
        // Better two copies than none: without a safe place, run unguarded.
        qCWarning(lcInstance).noquote() << m_error;
        return true;
    }

    // Two copies started together could otherwise both find no one, and the
    // later one would delete the earlier one's fresh socket. A lock that
    // cannot be had in time is held by such a twin, which is listening by
    // then, so the knock below finds it either way.
    QLockFile lock(m_lockPath);
    if (!lock.tryLock(2 * TimeoutMs))
        qCWarning(lcInstance) << "No start-up lock" << m_lockPath << lock.error();

    switch (knock(arguments)) {
    case Knock::SomeoneThere:
        return false;
    case Knock::Stranger:
        // Never handed our arguments nor obeyed; never removed either.
        m_error = QStringLiteral("Another user's program holds %1; running without single-instance guard")
                      .arg(m_serverName);
        qCWarning(lcInstance).noquote() << m_error;
        return true;
    case Knock::NoOneThere:
        break;
    }
    listen(); // on failure run unguarded rather than not at all
    return true;
}

SingleInstance::Knock SingleInstance::knock(const QStringList &arguments)
{
    if (ownedByAnotherUser(m_serverName))
        return Knock::Stranger;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Knock::NoOneThere;
    limitWaits(fd, TimeoutMs);
    const sockaddr_un addr = addressOf(m_serverName);
    int rc;
    do
        rc = ::connect(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int error = errno;
        ::close(fd);
        // A queue that stayed full: a copy that does not accept. It is
        // alive, so its socket must stay and we must not start.
        if (error == EAGAIN) {
            qCWarning(lcInstance) << "Running copy does not answer; ending";
            return Knock::SomeoneThere;
        }
        return Knock::NoOneThere; // no socket, or a dead copy's
    }
    if (!peerIsThisUser(fd)) {
        ::close(fd);
        return Knock::Stranger;
    }
    if (!sendAll(fd, InstanceMessage::encode(arguments)))
        qCWarning(lcInstance) << "Running copy did not take our arguments:" << std::strerror(errno);
    ::close(fd);
    return Knock::SomeoneThere;
}

bool SingleInstance::listen()
{
    // Only reached when no one answered: whatever file is left is a dead
    // copy's socket.
    const QByteArray name = QFile::encodeName(m_serverName);
    ::unlink(name.constData());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const sockaddr_un addr = addressOf(m_serverName);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) == 0;
    // The folder is private already; the socket is the user's alone as well.
    if (!bound || ::chmod(name.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        qCWarning(lcInstance) << "Cannot listen on" << m_serverName << m_error;
        if (bound)
            ::unlink(name.constData());
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    m_listener = fd;
    m_notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SingleInstance::acceptCallers);
    m_error.clear();
    return true;
}

void SingleInstance::acceptCallers()
{
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                // Out of descriptors, say: the caller stays queued. Try again
                // after a pause rather than at once, over and over.
                qCWarning(lcInstance) << "Cannot take a connection:" << std::strerror(errno);
                m_notifier->setEnabled(false);
                QTimer::singleShot(TimeoutMs, m_notifier, [n = m_notifier] { n->setEnabled(true); });
            }
            return;
        }
        if (!peerIsThisUser(fd)) {
            qCWarning(lcInstance) << "Connection from another user dropped";
            ::close(fd);
            continue;
        }
        new Caller(fd, [this](const QStringList &arguments) { emit activated(arguments); }, this);
    }
}
