#include "app/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QTimer>
#include <QtEndian>

#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstance, "corvane.app.instance")

namespace {

// sockaddr_un holds 108 bytes; keep well clear of it.
constexpr qsizetype kMaxSocketPath = 100;
constexpr int kHeaderBytes = 4;

QString safeKey(const QString &key)
{
    QString out;
    for (const QChar c : key)
        out += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'-' || c == u'_' || c == u'.' ? c : QChar(u'_');
    return out.isEmpty() ? QStringLiteral("instance") : out;
}

// The runtime folder only counts when it is really ours: under "sudo -E" it
// may still name the invoking user's folder.
bool usableRuntimeDir(const QString &dir)
{
    if (dir.isEmpty() || !QDir::isAbsolutePath(dir))
        return false;
    const QFileInfo info(dir);
    return info.isDir() && info.ownerId() == ::getuid();
}

QString makeServerName(const QString &key)
{
    const QString base = QStringLiteral("%1-%2").arg(safeKey(key)).arg(::getuid());
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (usableRuntimeDir(runtime)) {
        const QString path = QDir(runtime).filePath(base + QStringLiteral(".socket"));
        if (QFile::encodeName(path).size() <= kMaxSocketPath)
            return path;
    }
    return base; // QLocalServer puts a bare name into the temporary folder
}

QString fullPath(const QString &serverName)
{
    return serverName.startsWith(u'/') ? serverName : QDir(QDir::tempPath()).filePath(serverName);
}

// Length-prefixed UTF-8, every argument followed by a zero byte (argv can
// hold none), so an empty argument survives the trip.
QByteArray encodeKnock(const QStringList &arguments)
{
    QByteArray payload;
    for (const QString &a : arguments) {
        const QByteArray bytes = a.toUtf8() + '\0';
        if (payload.size() + bytes.size() > SingleInstance::MaxMessageBytes)
            break; // the first copy ignores them anyway; never send a partial one
        payload += bytes;
    }
    QByteArray message(kHeaderBytes, '\0');
    qToBigEndian(quint32(payload.size()), message.data());
    return message + payload;
}

QStringList decodePayload(const QByteArray &payload)
{
    QStringList arguments;
    qsizetype start = 0;
    qsizetype end = payload.indexOf('\0');
    while (end >= 0) {
        arguments << QString::fromUtf8(payload.constData() + start, end - start);
        start = end + 1;
        end = payload.indexOf('\0', start);
    }
    return arguments;
}

} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent)
    : QObject(parent)
    , m_serverName(makeServerName(key))
    , m_lockPath(fullPath(m_serverName) + QStringLiteral(".lock"))
{
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

    // Two copies started together could otherwise both find no one, and the
    // later one's removeServer would delete the earlier one's fresh socket.
    // A lock that cannot be had in time is held by such a twin, which is
    // listening by then, so the knock below finds it either way.
    QLockFile lock(m_lockPath);
    if (!lock.tryLock(2 * TimeoutMs))
        qCWarning(lcInstance) << "No start-up lock" << m_lockPath << lock.error();

    if (knock(arguments) == Knock::SomeoneThere)
        return false;
    listen(); // on failure run unguarded rather than not at all
    return true;
}

SingleInstance::Knock SingleInstance::knock(const QStringList &arguments)
{
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
    socket.write(encodeKnock(arguments));
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
    if (socket->bytesAvailable() < kHeaderBytes)
        return;
    const quint32 length = qFromBigEndian<quint32>(socket->peek(kHeaderBytes).constData());
    if (length > MaxMessageBytes) {
        qCWarning(lcInstance) << "Oversized message from another copy dropped";
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
        return;
    }
    if (socket->bytesAvailable() < kHeaderBytes + qint64(length))
        return;
    socket->skip(kHeaderBytes);
    const QStringList arguments = decodePayload(socket->read(length));
    socket->disconnect(this);
    socket->disconnectFromServer();
    socket->deleteLater();
    emit activated(arguments);
}
