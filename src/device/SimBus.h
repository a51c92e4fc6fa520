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
    SimUnit *Add(const SimControllerModel &model, bool plugged = true);
    // Adds `count` sane controllers "SIM0001", "SIM0002", ...
    void AddSane(int count);

    void Plug(SimUnit *unit);
    void Unplug(SimUnit *unit);

    QList<SimUnit *> Units() const;
    QList<HidDevicePtr> PresentDevices() const;
    SimUnit *Find(const QString &serial) const;

    // Called by units.
    void restart(SimUnit *unit);
    void paramsChanged(SimUnit *unit);
    void claimed(SimUnit *unit) { emit Claimed(unit); }

signals:
    void Changed();
    void ParamsChanged(SimUnit *unit);
    // A program took the controller for a sequence of exchanges (emitted
    // in that program's thread).
    void Claimed(SimUnit *unit);

private:
    void announce();

    std::vector<std::unique_ptr<SimUnit>> m_units;
    mutable QMutex m_mutex; // guards the plug order and the units' presence
    QList<SimUnit *> m_plugOrder;
    std::atomic<bool> m_announcePending = false;
};
