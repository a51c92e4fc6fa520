#pragma once
#include "device/HidController.h"

#include <QHash>

// The real controller over hidapi (hidraw backend). Devices are matched
// across scans by their device path, so a controller that stays plugged keeps
// its device object and its open handle; handles of devices that left are
// closed. hidapi is not thread-safe: everything runs on the GUI thread.
class HidapiController : public HidController {
public:
    HidapiController();
    ~HidapiController() override;

    HidDevicePtr CheckOutByIndex(int index) override;
    void CheckIn(const HidDevicePtr &) override {}
    void Start() override;

    // Re-reads the bus and reports a device change.
    void Rescan();

protected:
    QList<HidDevicePtr> PresentDevices() const override { return m_present; }

private:
    QList<HidDevicePtr> m_present;
    bool m_initialised = false;
};
