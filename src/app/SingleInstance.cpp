#include "app/SingleInstance.h"

#include "app/InstanceMessage.h"
#include "core/files/UserRuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QTimer>

#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
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

bool peerIsThisUser(qintptr fd)
{
    ucred cred{};
    socklen_t size = sizeof cred;
    return ::getsockopt(int(fd), SOL_SOCKET, SO_PEERCRED, &cred, &size) == 0 && cred.uid == ::geteuid();
}

// A socket file someone else made (even root) is never taken for ours.
bool ownedByAnotherUser(const QString &path)
{
    struct stat st{};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && st.st_uid != ::geteuid();
}

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
    if (m_server)
        m_server->close(); // removes our socket file
}

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
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
    // later one's removeServer would delete the earlier one's fresh socket.
    // A lock that cannot be had in time is held by such a twin, which is
    // listening by then, so the knock below finds it either way.
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
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(TimeoutMs)) {
        // Still connecting: the kernel queued us at a copy that does not
        // accept. It is alive, so its socket must stay and we must not start.
        if (socket.state() == QLocalSocket::ConnectingState
            || socket.error() == QLocalSocket::SocketTimeoutError) {
            qCWarning(lcInstance) << "Running copy does not answer; ending";
            socket.abort();
            return Knock::SomeoneThere;
        }
        return Knock::NoOneThere;
    }
    if (!peerIsThisUser(socket.socketDescriptor())) {
        socket.abort();
        return Knock::Stranger;
    }
    socket.write(InstanceMessage::encode(arguments));
    if (!socket.waitForBytesWritten(TimeoutMs))
        qCWarning(lcInstance) << "Running copy did not take our arguments:" << socket.errorString();
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(TimeoutMs);
    return Knock::SomeoneThere;
}

bool SingleInstance::listen()
{
    // Only reached when no one answered: whatever file is left is a dead
    // copy's socket.
    QLocalServer::removeServer(m_serverName);
    auto *server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_serverName)) {
        m_error = server->errorString();
        qCWarning(lcInstance) << "Cannot listen on" << m_serverName << m_error;
        delete server;
        return false;
    }
    connect(server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    m_server = server;
    m_error.clear();
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (!peerIsThisUser(socket->socketDescriptor())) {
            qCWarning(lcInstance) << "Connection from another user dropped";
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readKnock(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A client that never finishes its message must not stay forever.
        QTimer::singleShot(4 * TimeoutMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        readKnock(socket);
    }
}

void SingleInstance::readKnock(QLocalSocket *socket)
{
    QStringList arguments;
    const auto status = InstanceMessage::decode(
        socket->peek(InstanceMessage::HeaderBytes + InstanceMessage::MaxPayloadBytes), &arguments);
    if (status == InstanceMessage::Status::Incomplete)
        return;
    socket->disconnect(this);
    if (status == InstanceMessage::Status::Oversized) {
        qCWarning(lcInstance) << "Oversized message from another copy dropped";
        socket->abort();
        socket->deleteLater();
        return;
    }
    socket->disconnectFromServer();
    socket->deleteLater();
    emit activated(arguments);
}
