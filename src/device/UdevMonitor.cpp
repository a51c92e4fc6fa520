#include "device/UdevMonitor.h"

#include <libudev.h>

#include <QLoggingCategory>
#include <QSocketNotifier>

#include <cstring>

Q_LOGGING_CATEGORY(lcUdev, "corvane.udev")

namespace {
// Long enough to fold the events of one plug-in, short enough to feel instant.
constexpr int kSettleMs = 100;
} // namespace

UdevMonitor::UdevMonitor(QObject *parent)
    : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &UdevMonitor::changed);

    m_udev = udev_new();
    if (!m_udev) {
        qCWarning(lcUdev) << "udev is not available; controllers plugged in later will not be noticed";
        return;
    }
    // "udev", not "kernel": the kernel event fires before the device node is ready.
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "hidraw", nullptr) < 0
        || udev_monitor_enable_receiving(m_monitor) < 0) {
        qCWarning(lcUdev) << "cannot watch hidraw devices; controllers plugged in later will not be noticed";
        if (m_monitor)
            udev_monitor_unref(m_monitor);
        m_monitor = nullptr;
        return;
    }
    m_notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdevMonitor::drain);
}

UdevMonitor::~UdevMonitor()
{
    delete m_notifier;
    if (m_monitor)
        udev_monitor_unref(m_monitor);
    if (m_udev)
        udev_unref(m_udev);
}

void UdevMonitor::drain()
{
    // Take every pending event so the socket does not wake us again for them.
    while (udev_device *dev = udev_monitor_receive_device(m_monitor)) {
        const char *action = udev_device_get_action(dev);
        const char *node = udev_device_get_devnode(dev);
        if (action && node && std::strcmp(action, "remove") == 0)
            m_departed.insert(QByteArray(node));
        udev_device_unref(dev);
    }
    m_settle.start();
}
