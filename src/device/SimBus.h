#pragma once
#include "device/SimUnit.h"

#include <QList>
#include <QObject>

#include <memory>

// The simulated USB bus: the controllers plugged in, in plug order. Changes
// are announced through the event loop, like a real device-change
// notification, so they never interrupt a command in progress.
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

signals:
    void Changed();
    void ParamsChanged(SimUnit *unit);

private:
    void announce();

    std::vector<std::unique_ptr<SimUnit>> m_units;
    QList<SimUnit *> m_plugOrder;
    bool m_announcePending = false;
};
