#pragma once
#include <QString>

#include <memory>

// One controller, one program at a time: an advisory lock per serial number
// in the user's runtime folder, held for each exchange sequence by the
// window and the command line alike, so their commands never interleave.
// The lock file names its holder, so the one that waits can say who it is.
class ControllerLock {
public:
    ~ControllerLock();
    ControllerLock(const ControllerLock &) = delete;
    ControllerLock &operator=(const ControllerLock &) = delete;

    // Takes the lock of `serial`, waiting at most `waitMs` (the wait
    // sleeps); nullptr with the reason (who holds it) in `error`. Without a
    // private folder for locks it hands out a lock that guards nothing.
    static std::unique_ptr<ControllerLock> acquire(const QString &serial, int waitMs, QString *error);

    // How long a program waits for another one's sequence to end.
    static constexpr int kWaitMs = 3000;

private:
    explicit ControllerLock(int fd);
    int m_fd;
};
