#pragma once
#include "device/HidController.h"

#include <QByteArray>
#include <QSet>

struct hid_device_info;

// The real controller over hidapi (hidraw backend). A device keeps its
// object and open handle across scans while the same controller stays at its
// device path; handles of devices that left are closed. hidapi is not
// thread-safe: everything runs on the GUI thread.
class HidapiController : public HidController {
public:
    HidapiController();
    ~HidapiController() override;

    HidDevicePtr CheckOutByIndex(int index) override;
    void CheckIn(const HidDevicePtr &) override {}
    void start() override;
    QString startError() const override { return m_startError; }

    // Re-reads the bus and reports a device change. `departed` names device
    // nodes that were removed since the last scan: whatever is found there
    // now is another device, even when it looks the same.
    void rescan(const QSet<QByteArray> &departed = {});

protected:
    QList<HidDevicePtr> presentDevices() const override { return m_present; }

private:
    HidDevicePtr knownDevice(const hid_device_info &info, const QString &serial,
                             const QSet<QByteArray> &departed) const;

    QList<HidDevicePtr> m_present;
    bool m_initialised = false;
    QString m_startError;
};
