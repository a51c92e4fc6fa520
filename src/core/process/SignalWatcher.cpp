#include "core/process/SignalWatcher.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcSignals, "corvane.app.signals")

namespace {

// Write end of the installed watcher's socket pair, -1 when none.
std::atomic<int> g_writeFd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "the handler needs a lock-free load");

// Async-signal context: only write(2), and keep errno for the code we
// interrupted. The socket is non-blocking, so a flood of signals drops bytes
// instead of hanging the handler.
extern "C" void onSignal(int number)
{
    const int saved = errno;
    const int fd = g_writeFd.load();
    if (fd >= 0) {
        const unsigned char byte = static_cast<unsigned char>(number);
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
    errno = saved;
}

} // namespace

SignalWatcher::SignalWatcher(QObject *parent)
    : SignalWatcher({SIGINT, SIGTERM}, parent)
{
}

SignalWatcher::SignalWatcher(const QList<int> &signalNumbers, QObject *parent)
    : QObject(parent)
{
    if (!install(signalNumbers))
        restore();
}

SignalWatcher::~SignalWatcher()
{
    restore();
}

bool SignalWatcher::install(const QList<int> &signalNumbers)
{
    // A failed socketpair leaves both descriptors at -1.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, m_fds) != 0) {
        qCWarning(lcSignals) << "socketpair failed:" << strerror(errno);
        return false;
    }
    int expected = -1;
    if (!g_writeFd.compare_exchange_strong(expected, m_fds[1])) {
        qCWarning(lcSignals) << "Another signal watcher is installed; this one stays inert";
        return false;
    }
    m_notifier = new QSocketNotifier(m_fds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatcher::drain);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // interrupted system calls elsewhere carry on
    for (const int number : signalNumbers) {
        Saved saved{number, {}};
        if (::sigaction(number, &action, &saved.action) != 0) {
            qCWarning(lcSignals) << "Cannot handle signal" << number << strerror(errno);
            continue;
        }
        m_saved << saved;
    }
    return true;
}

void SignalWatcher::restore()
{
    // Handlers first, so none writes into a socket that is being closed.
    for (auto it = m_saved.crbegin(); it != m_saved.crend(); ++it)
        ::sigaction(it->number, &it->action, nullptr);
    m_saved.clear();
    int mine = m_fds[1];
    if (mine >= 0)
        g_writeFd.compare_exchange_strong(mine, -1);
    delete m_notifier;
    m_notifier = nullptr;
    for (int &fd : m_fds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void SignalWatcher::drain()
{
    // One wake-up may carry several signals. Read them all before telling
    // anyone: a receiver may well destroy this watcher.
    QByteArray received;
    char buffer[64];
    ssize_t n;
    while ((n = ::read(m_fds[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
        if (n > 0)
            received.append(buffer, n);
    }
    const QPointer<SignalWatcher> alive(this);
    for (const char number : std::as_const(received)) {
        if (!alive)
            return;
        emit signalReceived(static_cast<unsigned char>(number));
    }
}
