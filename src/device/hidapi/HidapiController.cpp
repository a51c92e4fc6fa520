#include "device/hidapi/HidapiController.h"

#include "device/hidapi/HidapiDevice.h"

#include <hidapi.h>

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcHidapi)

namespace {
QString serialOf(const hid_device_info &info)
{
    return info.serial_number ? QString::fromWCharArray(info.serial_number) : QString();
}

// hidapi's own reason, or its return code when it gives none.
QString initFailure(int rc)
{
    const wchar_t *e = hid_error(nullptr);
    const QString text = e ? QString::fromWCharArray(e) : QString();
    if (!text.isEmpty() && text != QLatin1String("Success"))
        return text;
    return QStringLiteral("hid_init returned %1").arg(rc);
}
} // namespace

HidapiController::HidapiController()
{
    const int rc = hid_init();
    m_initialised = rc == 0;
    if (!m_initialised) {
        m_startError = QStringLiteral("Cannot access USB HID devices: %1").arg(initFailure(rc));
        qCWarning(lcHidapi).noquote() << m_startError;
    }
}

HidapiController::~HidapiController()
{
    for (auto &d : m_present)
        static_cast<HidapiDevice *>(d.get())->close();
    m_present.clear();
    if (m_initialised)
        hid_exit();
}

void HidapiController::start()
{
    rescan();
}

HidDevicePtr HidapiController::knownDevice(const hid_device_info &info, const QString &serial,
                                           const QSet<QByteArray> &departed) const
{
    const QByteArray path(info.path);
    if (departed.contains(path))
        return nullptr;
    // Another controller may have taken the node of one that left between
    // two scans: only the same identity at the same path is the same device.
    for (const auto &d : m_present) {
        const auto *h = static_cast<const HidapiDevice *>(d.get());
        if (h->path() == path && h->SerialNumber() == serial && h->VendorID() == info.vendor_id
            && h->ProductID() == info.product_id && h->VersionNumber() == info.release_number)
            return d;
    }
    return nullptr;
}

void HidapiController::rescan(const QSet<QByteArray> &departed)
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

        const QString serial = serialOf(*info);
        HidDevicePtr device = knownDevice(*info, serial, departed);
        if (!device)
            device = std::make_shared<HidapiDevice>(path, info->vendor_id, info->product_id, info->release_number,
                                                    serial);
        now.append(device);
    }
    if (all)
        hid_free_enumeration(all);

    for (const auto &d : std::as_const(m_present)) {
        if (!now.contains(d))
            static_cast<HidapiDevice *>(d.get())->close();
    }
    m_present = now;
    emit deviceChange();
}

HidDevicePtr HidapiController::CheckOutByIndex(int index)
{
    if (index < 0 || index >= m_present.size())
        return nullptr;
    // A device that cannot be opened is still handed out, so it is listed and
    // its AccessProblem can tell the user what to fix.
    static_cast<HidapiDevice *>(m_present[index].get())->open();
    return m_present[index];
}
