#include "device/SimBus.h"

#include <QTimer>

SimBus::SimBus(QObject *parent)
    : QObject(parent)
{
}

SimBus::~SimBus() = default;

SimUnit *SimBus::add(const SimControllerModel &model, bool plugged)
{
    m_units.push_back(std::make_unique<SimUnit>(this, model));
    SimUnit *unit = m_units.back().get();
    if (plugged)
        plug(unit);
    return unit;
}

void SimBus::addSane(int count)
{
    for (int i = 1; i <= count; ++i)
        add(SimControllerModel::sane(i));
}

void SimBus::plug(SimUnit *unit)
{
    {
        const QMutexLocker lock(&m_mutex);
        if (unit->plugged())
            return;
        unit->joinBus();
        m_plugOrder.append(unit);
    }
    announce();
}

void SimBus::unplug(SimUnit *unit)
{
    {
        const QMutexLocker lock(&m_mutex);
        if (!unit->plugged())
            return;
        unit->leaveBus();
        m_plugOrder.removeAll(unit);
    }
    announce();
}

QList<SimUnit *> SimBus::units() const
{
    QList<SimUnit *> all;
    for (const auto &u : m_units)
        all.append(u.get());
    return all;
}

QList<HidDevicePtr> SimBus::presentDevices() const
{
    const QMutexLocker lock(&m_mutex);
    QList<HidDevicePtr> devices;
    for (SimUnit *u : m_plugOrder)
        devices.append(u->device());
    return devices;
}

SimUnit *SimBus::find(const QString &serial) const
{
    for (const auto &u : m_units) {
        if (u->firmware().model().serial.compare(serial, Qt::CaseInsensitive) == 0)
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
            unplug(unit);
            QTimer::singleShot(unit->restartDelayMs, this, [this, unit] { plug(unit); });
        },
        Qt::QueuedConnection);
}

void SimBus::reportParamsChanged(SimUnit *unit)
{
    emit paramsChanged(unit);
}

void SimBus::announce()
{
    if (m_announcePending.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_announcePending = false;
            emit changed();
        },
        Qt::QueuedConnection);
}
