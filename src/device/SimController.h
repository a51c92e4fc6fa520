#pragma once
#include "device/HidController.h"

class SimBus;

// The HID controller over the simulated bus. Holds no device state of its
// own; the bus outlives it.
class SimController : public HidController {
    Q_OBJECT
public:
    explicit SimController(SimBus *bus);

    HidDevicePtr CheckOutByIndex(int index) override;
    void CheckIn(const HidDevicePtr &) override {}
    void start() override;

protected:
    QList<HidDevicePtr> presentDevices() const override;

private:
    SimBus *m_bus;
    mutable QList<HidDevicePtr> m_snapshot;
};
