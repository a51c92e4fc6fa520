#include "device/SimBus.h"

#include <QTimer>

SimBus::SimBus(QObject *parent)
    : QObject(parent)
{
}

SimBus::~SimBus() = default;

SimUnit *SimBus::Add(const SimControllerModel &model, bool plugged)
{
    m_units.push_back(std::make_unique<SimUnit>(this, model));
    SimUnit *unit = m_units.back().get();
    if (plugged)
        Plug(unit);
    return unit;
}

void SimBus::AddSane(int count)
{
    for (int i = 1; i <= count; ++i)
        Add(SimControllerModel::Sane(i));
}

void SimBus::Plug(SimUnit *unit)
{
    {
        const QMutexLocker lock(&m_mutex);
        if (unit->Plugged())
            return;
        unit->joinBus();
        m_plugOrder.append(unit);
    }
    announce();
}

void SimBus::Unplug(SimUnit *unit)
{
    {
        const QMutexLocker lock(&m_mutex);
        if (!unit->Plugged())
            return;
        unit->leaveBus();
        m_plugOrder.removeAll(unit);
    }
    announce();
}

QList<SimUnit *> SimBus::Units() const
{
    QList<SimUnit *> all;
    for (const auto &u : m_units)
        all.append(u.get());
    return all;
}

QList<HidDevicePtr> SimBus::PresentDevices() const
{
    const QMutexLocker lock(&m_mutex);
    QList<HidDevicePtr> devices;
    for (SimUnit *u : m_plugOrder)
        devices.append(u->Device());
    return devices;
}

SimUnit *SimBus::Find(const QString &serial) const
{
    for (const auto &u : m_units) {
        if (u->Firmware().Model().Serial.compare(serial, Qt::CaseInsensitive) == 0)
            return u.get();
    }
    return nullptr;
}

void SimBus::restart(SimUnit *unit)
{
    // The controller answers the request first, then drops off the bus and
    // comes back with the same settings.
    QMetaObject::invokeMethod(
        this,
        [this, unit] {
            Unplug(unit);
            QTimer::singleShot(unit->RestartDelayMs, this, [this, unit] { Plug(unit); });
        },
        Qt::QueuedConnection);
}

void SimBus::paramsChanged(SimUnit *unit)
{
    emit ParamsChanged(unit);
}

void SimBus::announce()
{
    if (m_announcePending.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_announcePending = false;
            emit Changed();
        },
        Qt::QueuedConnection);
}
