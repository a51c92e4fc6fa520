#pragma once
#include <QList>
#include <QObject>

#include <csignal>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal on the GUI thread, so the main
// window closes the normal way and writes its settings when a session ends
// or Ctrl+C is pressed.
//
// The signal handler only writes the signal number into a socket pair; the
// GUI thread reads it through a QSocketNotifier and emits signalReceived.
// While no signal comes, nothing wakes up.
//
// Only one watcher can be installed at a time; a second one stays inert
// (isInstalled() false). The previous handlers return on destruction.
class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatcher(QObject *parent = nullptr);
    explicit SignalWatcher(const QList<int> &signalNumbers, QObject *parent = nullptr);
    ~SignalWatcher() override;

    bool isInstalled() const { return m_notifier != nullptr; }

signals:
    void signalReceived(int signalNumber);

private:
    bool install(const QList<int> &signalNumbers);
    void restore();
    void drain();

    struct Saved {
        int number;
        struct sigaction action;
    };
    QList<Saved> m_saved;
    int m_fds[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
};
