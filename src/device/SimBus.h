#pragma once
#include "device/SimUnit.h"

#include <QList>
#include <QMutex>
#include <QObject>

#include <atomic>

#include <memory>

// The simulated USB bus: the controllers plugged in, in plug order. Changes
// are announced through the event loop, like a real device-change
// notification, so they never interrupt a command in progress. Controllers
// may be driven from other threads (one each); plugging and unplugging is
// safe from any of them, the announcements arrive in the bus's thread.
class SimBus : public QObject {
    Q_OBJECT
public:
    explicit SimBus(QObject *parent = nullptr);
    ~SimBus() override;

    // Adds a controller and plugs it in (unless told otherwise).
    SimUnit *add(const SimControllerModel &model, bool plugged = true);
    // Adds `count` sane controllers "SIM0001", "SIM0002", ...
    void addSane(int count);

    void plug(SimUnit *unit);
    void unplug(SimUnit *unit);

    QList<SimUnit *> units() const;
    QList<HidDevicePtr> presentDevices() const;
    SimUnit *find(const QString &serial) const;

    // Called by units.
    void restart(SimUnit *unit);
    void reportParamsChanged(SimUnit *unit);
    void reportClaimed(SimUnit *unit) { emit claimed(unit); }

signals:
    void changed();
    void paramsChanged(SimUnit *unit);
    // A program took the controller for a sequence of exchanges (emitted
    // in that program's thread).
    void claimed(SimUnit *unit);

private:
    void announce();

    std::vector<std::unique_ptr<SimUnit>> m_units;
    mutable QMutex m_mutex; // guards the plug order and the units' presence
    QList<SimUnit *> m_plugOrder;
    std::atomic<bool> m_announcePending = false;
};
