#pragma once
#include <QString>

// An advisory lock on a small lock file, so that cooperating programs take
// turns: at a read-modify-write of a file that is replaced by rename (the
// file itself cannot carry the lock across the replacement), or at a
// controller. The lock file is left in place: removing it would let a later
// program lock a new file while another still holds the old one.
//
// The kernel keeps the holder's process with the lock itself (a POSIX record
// lock), so whoever waits can always name the holder; there is no moment in
// which the lock is held but its holder unknown. Within one process, locks
// of the same path exclude each other too (threads, or two objects).
class FileLock
{
public:
    explicit FileLock(QString lockPath);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Waits at most timeoutMs (sleeping between tries) for another holder.
    // On failure error names the lock file and says why, naming the holder
    // where there is one.
    bool lock(int timeoutMs, QString *error);
    void unlock();

    // After a failed lock(): the holder as "corvane-cli (process 1234)", or
    // empty when the lock could not be tried at all.
    QString holder() const { return m_holder; }

private:
    bool tryOnce(QString *error);

    QString m_path;
    QString m_holder;
    int m_fd = -1; // open while this object has its path claimed
};
