#pragma once
#include <QString>

// An advisory lock (flock) on a small lock file beside what it guards, so
// that cooperating processes take turns at a read-modify-write of a file
// that is replaced by rename (the file itself cannot carry the lock across
// the replacement). The lock file is left in place: removing it would let a
// later process lock a new file while another still holds the old one.
class FileLock
{
public:
    explicit FileLock(QString lockPath);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Waits at most timeoutMs (sleeping between tries) for another holder.
    // On failure error names the lock file and says why.
    bool lock(int timeoutMs, QString *error);
    void unlock();

private:
    QString m_path;
    int m_fd = -1;
};
