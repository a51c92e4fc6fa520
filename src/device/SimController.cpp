#include "device/SimController.h"

#include "device/SimBus.h"

SimController::SimController(SimBus *bus)
    : m_bus(bus)
{
    connect(m_bus, &SimBus::changed, this, &HidController::deviceChange);
}

void SimController::start()
{
    emit deviceChange();
}

QList<HidDevicePtr> SimController::presentDevices() const
{
    // Indexes handed to CheckOutByIndex refer to this snapshot.
    m_snapshot = m_bus->presentDevices();
    return m_snapshot;
}

HidDevicePtr SimController::CheckOutByIndex(int index)
{
    return m_snapshot.value(index); // null outside the snapshot
}
