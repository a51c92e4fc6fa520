#pragma once
#include <QByteArray>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <utility>

struct udev;
struct udev_monitor;
class QSocketNotifier;

// Watches hidraw arrivals and removals through a udev monitor socket on the
// GUI thread. A burst of events (one device brings several) is folded into
// one Changed signal.
class UdevMonitor : public QObject {
    Q_OBJECT
public:
    explicit UdevMonitor(QObject *parent = nullptr);
    ~UdevMonitor() override;

    bool isWatching() const { return m_monitor != nullptr; }

    // Device nodes removed since the last call. A node that was removed and
    // added again within one burst holds another device than before.
    QSet<QByteArray> takeDeparted() { return std::exchange(m_departed, {}); }

signals:
    void changed();

private:
    void drain();

    udev *m_udev = nullptr;
    udev_monitor *m_monitor = nullptr;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_settle;
    QSet<QByteArray> m_departed;
};
