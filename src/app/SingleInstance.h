#pragma once
#include "app/InstanceMessage.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QSocketNotifier;

// One running copy of the program per user.
//
// The first copy listens on a local socket that only its own user can reach;
// a later copy connects to it, hands over its arguments and is told to end.
// The socket lives only in this user's private runtime folder (see
// userRuntimeFolder), which nobody else may write. A listener of another
// user is never trusted: it gets no arguments and does not stop this copy.
// Without a safe folder the program runs unguarded.
//
// Plain Unix sockets watched by the event loop: the guard needs no network
// library.
//
// Create it after the QApplication and before any window: a second copy
// leaves before it has read or written anything.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // Bounds every wait on the other copy, so a hung first copy cannot
    // freeze a second one.
    static constexpr int TimeoutMs = 500;
    // A knock longer than this is cut to the arguments that fit.
    static constexpr qsizetype MaxMessageBytes = InstanceMessage::MaxPayloadBytes;

    explicit SingleInstance(const QString &key = QStringLiteral("corvane-config"), QObject *parent = nullptr);
    ~SingleInstance() override;

    // True: this is the first copy and now listens for later ones (also when
    // listening failed: a broken socket folder must not stop the program,
    // see errorString()). False: another copy of this user runs and has been
    // sent `arguments`; this copy should end with exit code 0.
    bool tryToRun(const QStringList &arguments = {});

    // Full socket path; empty when there is no safe folder for it.
    QString serverName() const { return m_serverName; }
    bool isListening() const { return m_listener >= 0; }
    QString errorString() const { return m_error; }

signals:
    // In the first copy: a later copy started with these arguments and wants
    // this one brought to the front.
    void activated(const QStringList &arguments);

private:
    enum class Knock { SomeoneThere, NoOneThere, Stranger };
    Knock knock(const QStringList &arguments);
    bool listen();
    void acceptCallers();

    QString m_serverName;
    QString m_lockPath;
    int m_listener = -1;
    QSocketNotifier *m_notifier = nullptr;
    QString m_error;
};
