#pragma once
#include <QString>

#include <functional>
#include <memory>

class FileLock;

// One controller, one program at a time: a lock per serial number in the
// user's runtime folder, held for each guarded operation by the window and
// the command line alike, so their commands never interleave. Whoever waits
// in vain is told which program holds the controller.
class ControllerLock {
public:
    ~ControllerLock();
    ControllerLock(const ControllerLock &) = delete;
    ControllerLock &operator=(const ControllerLock &) = delete;

    // Takes the lock of `serial`, waiting at most `waitMs` (the wait
    // sleeps); nullptr with the reason (who holds it) in `error`. Without a
    // private folder for locks it hands out a lock that guards nothing, and
    // says so once per process.
    static std::unique_ptr<ControllerLock> acquire(const QString &serial, int waitMs, QString *error);

    // Where the notice of working without locks goes (once per process):
    // the command line's standard error; the log while none is set.
    static void setUnguardedNotice(std::function<void(const QString &)> notice);

    // How long a program waits for another one's operation to end.
    static constexpr int kWaitMs = 3000;

private:
    explicit ControllerLock(std::unique_ptr<FileLock> lock);
    std::unique_ptr<FileLock> m_lock;
};
