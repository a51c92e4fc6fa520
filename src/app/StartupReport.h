#pragma once
// The start-up moments the benchmark compares: shared by the window program
// and the minimal window it is measured against, so both are timed alike.
// Header only, so the minimal window needs no library of the program.
#include <QByteArray>
#include <QEvent>
#include <QFile>
#include <QList>
#include <QObject>

#include <cstdio>
#include <ctime>
#include <functional>

#include <unistd.h>

// Milliseconds since the launch: the time in CORVANE_BENCH_T0 (seconds since
// the epoch, as bash's EPOCHREALTIME gives it) when set, else since the
// kernel started this process (10 ms resolution); -1 when unknown.
inline double msSinceLaunch()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (qEnvironmentVariableIsSet("CORVANE_BENCH_T0"))
        return double(now.tv_sec) * 1e3 + now.tv_nsec / 1e6 - qgetenv("CORVANE_BENCH_T0").toDouble() * 1e3;
    QFile stat(QStringLiteral("/proc/self/stat"));
    timespec boot{};
    if (!stat.open(QIODevice::ReadOnly) || clock_gettime(CLOCK_BOOTTIME, &boot) != 0)
        return -1;
    const QByteArray line = stat.readAll();
    // Field 22 (start time in clock ticks since boot); the command name in
    // field 2 may hold blanks, so count from its closing parenthesis.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    bool ok = false;
    const qint64 startTicks = fields.value(19).toLongLong(&ok);
    if (!ok)
        return -1;
    return double(boot.tv_sec) * 1e3 + boot.tv_nsec / 1e6 - double(startTicks) * 1e3 / sysconf(_SC_CLK_TCK);
}

// Milliseconds of CPU time this process has used so far, all its threads.
inline double cpuMsSoFar()
{
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return double(used.tv_sec) * 1e3 + used.tv_nsec / 1e6;
}

// "<what> after <ms> ms (CPU <ms> ms)" on standard error.
inline void reportMoment(const char *what)
{
    std::fprintf(stderr, "%s after %.1f ms (CPU %.1f ms)\n", what, msSinceLaunch(), cpuMsSoFar());
}

// Reports "first paint after ..." when the window it watches first paints,
// then runs `then` (when given).
class FirstPaintReport : public QObject
{
public:
    explicit FirstPaintReport(QObject *window, std::function<void()> then = {})
        : QObject(window), m_then(std::move(then))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            reportMoment("first paint");
            if (m_then)
                m_then();
        }
        return false;
    }

private:
    std::function<void()> m_then;
};
