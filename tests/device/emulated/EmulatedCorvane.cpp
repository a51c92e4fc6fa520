// glib before Qt: gio names a struct member "signals".
#include <umockdev.h>

#include "EmulatedCorvane.h"

#include <QtGlobal>

#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {
// One vendor collection with the 64-byte feature report 3.
const uint8_t kDescriptor[] = {
    0x06, 0x00, 0xFF, // usage page (vendor)
    0x09, 0x01,       // usage
    0xA1, 0x01,       // collection (application)
    0x85, 0x03,       //   report ID 3
    0x09, 0x02,       //   usage
    0x15, 0x00,       //   logical minimum 0
    0x26, 0xFF, 0x00, //   logical maximum 255
    0x75, 0x08,       //   report size 8
    0x95, 0x3F,       //   report count 63
    0xB1, 0x02,       //   feature (data, variable, absolute)
    0xC0,             // end collection
};
constexpr uint8_t kNotReady = 0x40;
const char *const kGeneration = "corvane-generation";

QByteArray hex4(uint16_t v)
{
    return QByteArray::number(v, 16).rightJustified(4, '0');
}

QByteArray takeString(gchar *s)
{
    QByteArray out(s);
    g_free(s);
    return out;
}
} // namespace

bool EmulatedCorvane::PreloadLoaded()
{
    const char *preload = std::getenv("LD_PRELOAD");
    return preload && std::strstr(preload, "libumockdev-preload");
}

EmulatedCorvane::EmulatedCorvane()
    : m_testbed(umockdev_testbed_new())
    , m_handler(umockdev_ioctl_base_new())
{
    m_root = takeString(umockdev_testbed_get_root_dir(m_testbed));
    g_signal_connect(m_handler, "handle-ioctl", G_CALLBACK(&EmulatedCorvane::onIoctl), this);
    g_signal_connect(m_handler, "client-connected", G_CALLBACK(&EmulatedCorvane::onConnected), this);
    GError *error = nullptr;
    if (!umockdev_testbed_attach_ioctl(m_testbed, kNode, m_handler, &error))
        qFatal("cannot emulate %s: %s", kNode, error ? error->message : "unknown error");
}

EmulatedCorvane::~EmulatedCorvane()
{
    if (!m_usbPath.isEmpty())
        Unplug();
    umockdev_testbed_detach_ioctl(m_testbed, kNode, nullptr);
    g_object_unref(m_handler);
    g_object_unref(m_testbed);
}

void EmulatedCorvane::addTree(const SimControllerModel &model)
{
    const QByteArray serial = model.serial.toUtf8();
    const QByteArray vid = hex4(model.vendorId), pid = hex4(model.productId);
    const QByteArray hidId = "0003:0000" + vid.toUpper() + ":0000" + pid.toUpper();
    m_usbPath = takeString(umockdev_testbed_add_device(
        m_testbed, "usb", "1-1", nullptr, "idVendor", vid.constData(), "idProduct", pid.constData(), "bcdDevice",
        hex4(model.release).constData(), "serial", serial.constData(), "product", "CORVANE", nullptr, "DEVTYPE",
        "usb_device", nullptr));
    const QByteArray intf = takeString(umockdev_testbed_add_device(
        m_testbed, "usb", "1-1:1.0", m_usbPath.constData(), "bInterfaceNumber", "00", nullptr, "DEVTYPE",
        "usb_interface", nullptr));
    const QByteArray hid = takeString(umockdev_testbed_add_device(
        m_testbed, "hid", "0003:16C0:2AB5.0001", intf.constData(), nullptr, "HID_ID", hidId.constData(), "HID_NAME",
        "CORVANE", "HID_UNIQ", serial.constData(), nullptr));
    umockdev_testbed_set_attribute_binary(m_testbed, hid.constData(), "report_descriptor",
                                          const_cast<uint8_t *>(kDescriptor), int(sizeof kDescriptor));
    m_hidrawPath = takeString(umockdev_testbed_add_device(m_testbed, "hidraw", "hidraw0", hid.constData(), "dev",
                                                          "241:0", nullptr, "DEVNAME", kNode, nullptr));
    // hidapi reads <hidraw>/device/uevent and report_descriptor itself.
    umockdev_testbed_set_attribute_link(m_testbed, m_hidrawPath.constData(), "device", "..");
}

// The testbed makes no /dev file of its own; the preload connects an
// existing one to the ioctl handler.
void EmulatedCorvane::setNodeFile(bool present) const
{
    const QByteArray path = m_root + kNode;
    if (present) {
        g_mkdir_with_parents((m_root + "/dev").constData(), 0755);
        std::ofstream(path.constData());
    } else {
        std::remove(path.constData());
    }
}

void EmulatedCorvane::Plug(const SimControllerModel &model)
{
    addTree(model);
    {
        std::lock_guard lock(m_mutex);
        m_firmware.emplace(model);
        m_replyPending = false;
    }
    setNodeFile(true);
    umockdev_testbed_uevent(m_testbed, m_hidrawPath.constData(), "add");
}

void EmulatedCorvane::Unplug()
{
    {
        std::lock_guard lock(m_mutex);
        m_firmware.reset();
        ++m_generation;
    }
    // The removal is announced while the device still exists; children
    // first, so each one's class links and node go too.
    umockdev_testbed_uevent(m_testbed, m_hidrawPath.constData(), "remove");
    QByteArray path = m_hidrawPath;
    while (path.size() > m_usbPath.size()) {
        umockdev_testbed_remove_device(m_testbed, path.constData());
        path.truncate(path.lastIndexOf('/'));
    }
    umockdev_testbed_remove_device(m_testbed, m_usbPath.constData());
    setNodeFile(false);
    m_usbPath.clear();
    m_hidrawPath.clear();
}

uint32_t EmulatedCorvane::Param(const QByteArray &tag) const
{
    std::lock_guard lock(m_mutex);
    return m_firmware ? m_firmware->param(tag) : 0;
}

int EmulatedCorvane::Transfers() const
{
    std::lock_guard lock(m_mutex);
    return m_transfers;
}

void EmulatedCorvane::onConnected(UMockdevIoctlBase *, UMockdevIoctlClient *client, void *self)
{
    auto *me = static_cast<EmulatedCorvane *>(self);
    std::lock_guard lock(me->m_mutex);
    g_object_set_data(G_OBJECT(client), kGeneration, GINT_TO_POINTER(me->m_generation + 1));
}

int EmulatedCorvane::onIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, void *self)
{
    static_cast<EmulatedCorvane *>(self)->answer(client);
    return TRUE;
}

// Runs on umockdev's thread, once per ioctl of the program under test.
void EmulatedCorvane::answer(UMockdevIoctlClient *client)
{
    const unsigned long request = umockdev_ioctl_client_get_request(client);
    UMockdevIoctlData *arg = umockdev_ioctl_client_get_arg(client);
    std::lock_guard lock(m_mutex);

    if (request == HIDIOCGRDESCSIZE) {
        // Always answered: hidapi 0.13.1 writes to freed memory when this
        // fails while it opens the device.
        g_autoptr(UMockdevIoctlData) size = umockdev_ioctl_data_resolve(arg, 0, sizeof(int), nullptr);
        *reinterpret_cast<int *>(size->data) = int(sizeof kDescriptor);
        umockdev_ioctl_client_complete(client, 0, 0);
        return;
    }
    const size_t len = _IOC_SIZE(request);
    const bool set = request == HIDIOCSFEATURE(len), get = request == HIDIOCGFEATURE(len);
    if (!set && !get) {
        umockdev_ioctl_client_complete(client, -1, ENOTTY);
        return;
    }
    // A handle opened before the last removal belongs to a device that is gone.
    const bool current = g_object_get_data(G_OBJECT(client), kGeneration) == GINT_TO_POINTER(m_generation + 1);
    if (!m_firmware || !current || len == 0) {
        umockdev_ioctl_client_complete(client, -1, ENODEV);
        return;
    }
    g_autoptr(UMockdevIoctlData) buf = umockdev_ioctl_data_resolve(arg, 0, len, nullptr);
    ++m_transfers;
    // A report the controller refuses stalls the transfer.
    if (set ? !m_firmware->takes(buf->data, int(len)) : !SimFirmware::answers(buf->data, int(len))) {
        umockdev_ioctl_client_complete(client, -1, EPIPE);
        return;
    }
    if (set) {
        m_reply = m_firmware->handle(buf->data);
        m_replyPending = true;
        umockdev_ioctl_client_complete(client, long(len), 0);
        return;
    }
    // The first poll after a command finds the controller still busy.
    SimFirmware::Report report = m_reply;
    if (m_replyPending) {
        report.fill(0);
        report[0] = kNotReady;
        report[1] = m_reply[1];
        m_replyPending = false;
    }
    const size_t n = std::min(len, report.size());
    std::memcpy(buf->data, report.data(), n);
    umockdev_ioctl_client_complete(client, long(n), 0);
}
