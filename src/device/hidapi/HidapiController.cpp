#include "device/hidapi/HidapiController.h"

#include "device/hidapi/HidapiDevice.h"

#include <hidapi.h>

#include <QSet>

HidapiController::HidapiController()
{
    m_initialised = hid_init() == 0;
}

HidapiController::~HidapiController()
{
    for (auto &d : m_present)
        static_cast<HidapiDevice *>(d.get())->Close();
    m_present.clear();
    if (m_initialised)
        hid_exit();
}

void HidapiController::Start()
{
    Rescan();
}

void HidapiController::Rescan()
{
    QList<HidDevicePtr> now;
    QSet<QByteArray> seen;
    hid_device_info *all = m_initialised ? hid_enumerate(0, 0) : nullptr;
    for (hid_device_info *info = all; info; info = info->next) {
        const QByteArray path(info->path ? info->path : "");
        // hidapi lists one record per top-level usage; a device is one path.
        if (path.isEmpty() || seen.contains(path))
            continue;
        seen.insert(path);

        HidDevicePtr existing;
        for (const auto &d : std::as_const(m_present)) {
            if (static_cast<HidapiDevice *>(d.get())->Path() == path)
                existing = d;
        }
        if (existing) {
            now.append(existing);
            continue;
        }
        const QString serial = info->serial_number ? QString::fromWCharArray(info->serial_number) : QString();
        now.append(std::make_shared<HidapiDevice>(path, info->vendor_id, info->product_id, info->release_number,
                                                  serial));
    }
    if (all)
        hid_free_enumeration(all);

    for (const auto &d : std::as_const(m_present)) {
        if (!now.contains(d))
            static_cast<HidapiDevice *>(d.get())->Close();
    }
    m_present = now;
    emit DeviceChange();
}

HidDevicePtr HidapiController::CheckOutByIndex(int index)
{
    if (index < 0 || index >= m_present.size())
        return nullptr;
    // A device that cannot be opened is still handed out, so it is listed and
    // its AccessProblem can tell the user what to fix.
    static_cast<HidapiDevice *>(m_present[index].get())->Open();
    return m_present[index];
}
